#include "tests/support/fake_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::string FakeFiles::Fold(const std::string& path) {
    std::string folded = path;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

std::uint32_t FakeFiles::CurrentDirectory(char* buffer, std::uint32_t size) {
    if (failCurrentDirectory) {
        return 0;
    }
    const auto length = static_cast<std::uint32_t>(currentDirectory.size());
    if (length + 1 > size) {
        return length + 1;
    }
    std::memcpy(buffer, currentDirectory.c_str(), length + 1);
    return length;
}

bool FakeFiles::ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) {
    opened.push_back(path);
    const auto file = files_.find(Fold(path));
    if (file == files_.end() || locked_.count(Fold(path)) != 0) {
        return false;
    }
    *bytes = file->second.substr(0, maxBytes);
    return true;
}
