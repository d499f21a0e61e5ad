#include "proxy/server_list.h"

#include <cstdint>
#include <cstring>

#include "proxy/proxy_settings.h"

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr std::uint32_t kPathBufferSize = 260;

}  // namespace

std::vector<std::string> ParseServerList(std::string_view bytes) {
    std::vector<std::string> items;
    std::string line;
    bool lineEnded = false;  // a zero byte ended the text; the rest is skipped
    bool tooLong = false;
    for (std::size_t i = 0; i < bytes.size() && items.size() < kMaxServerListItems; ++i) {
        const char c = bytes[i];
        if (c == kEndOfFile) {
            break;
        }
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;  // CR LF is one line end
            }
            if (!tooLong) {
                items.push_back(line);
            }
            line.clear();
            lineEnded = tooLong = false;
            continue;
        }
        if (c == '\0') {
            lineEnded = true;
        } else if (!lineEnded && !tooLong) {
            line += c;
            tooLong = line.size() > kMaxServerLength;
        }
    }
    return items;
}

std::vector<std::string> ReadServerList(FileSeam& files) {
    char path[kPathBufferSize] = "";
    const std::uint32_t length = files.CurrentDirectory(path, sizeof path);
    constexpr std::size_t kSuffixLength = 1 + sizeof kServerListFileName - 1;  // "\server.pxy"
    // The name is appended as is: a root directory gives a doubled backslash,
    // which the platform accepts.
    if (length == 0 || length + kSuffixLength >= sizeof path) {
        return {};
    }
    path[length] = '\\';
    std::memcpy(path + length + 1, kServerListFileName, sizeof kServerListFileName);

    std::string bytes;
    if (!files.ReadBytes(path, kMaxServerListBytes, &bytes)) {
        return {};
    }
    return ParseServerList(bytes);
}
