#include "store/registry_access.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "store/owner.h"

namespace {

struct KeyCloser {
    RegistrySeam* registry = nullptr;
    static RegKey None() { return 0; }
    void operator()(RegKey key) const { registry->CloseKey(key); }
};
using KeyOwner = Owner<RegKey, KeyCloser>;

ReadOutcome OutcomeOf(RegStatus status) {
    return status == kErrorSuccess        ? ReadOutcome::kRead
           : status == kErrorFileNotFound ? ReadOutcome::kMissing
                                          : ReadOutcome::kUnreadable;
}

// The first try's buffer: most texts fit it.
constexpr std::uint32_t kFirstTextBuffer = 260;
// A value that another program keeps growing between two tries is chased a
// few times, never forever.
constexpr int kTextTries = 4;

}  // namespace

ReadOutcome CRegistryAccess::ReadDword(RegKey root, const char* path, const char* name,
                                       std::uint32_t* value, std::uint32_t access) {
    RegKey opened = 0;
    const RegStatus status = registry_.OpenKey(root, path, access, &opened);
    if (status != kErrorSuccess) {
        return OutcomeOf(status);
    }
    const KeyOwner key(opened, KeyCloser{&registry_});
    std::uint8_t bytes[sizeof(std::uint32_t)] = {};
    std::uint32_t length = sizeof bytes;
    std::uint32_t type = 0;  // received, deliberately not checked
    const RegStatus queried = registry_.QueryValue(key.Get(), name, &type, bytes, &length);
    if (queried != kErrorSuccess) {
        return OutcomeOf(queried);
    }
    if (length != sizeof bytes) {
        return ReadOutcome::kUnreadable;
    }
    std::memcpy(value, bytes, sizeof bytes);
    return ReadOutcome::kRead;
}

ReadOutcome CRegistryAccess::ReadString(RegKey root, const char* path, const char* name,
                                        std::string* text, std::uint32_t maxBytes) {
    text->clear();
    RegKey opened = 0;
    const RegStatus status = registry_.OpenKey(root, path, kKeyAllAccess, &opened);
    if (status != kErrorSuccess) {
        return OutcomeOf(status);
    }
    const KeyOwner key(opened, KeyCloser{&registry_});
    std::vector<std::uint8_t> buffer(std::min(kFirstTextBuffer, maxBytes));
    std::uint32_t length = 0;
    RegStatus queried = kErrorMoreData;
    for (int attempt = 0; attempt < kTextTries && queried == kErrorMoreData; ++attempt) {
        length = static_cast<std::uint32_t>(buffer.size());
        std::uint32_t type = 0;  // received, deliberately not checked
        queried = registry_.QueryValue(key.Get(), name, &type, buffer.data(), &length);
        if (queried == kErrorMoreData) {
            if (length > maxBytes) {
                return ReadOutcome::kUnreadable;
            }
            buffer.resize(std::max<std::size_t>(length, buffer.size() * 2));
        }
    }
    if (queried != kErrorSuccess) {
        return OutcomeOf(queried);
    }
    const std::uint8_t* data = buffer.data();
    const std::uint8_t* end =
        std::find(data, data + std::min<std::size_t>(length, buffer.size()), 0);
    // A text without its zero byte must still fit once it is ended.
    if (static_cast<std::size_t>(end - data) >= maxBytes) {
        return ReadOutcome::kUnreadable;
    }
    text->assign(data, end);
    return ReadOutcome::kRead;
}

bool CRegistryAccess::Write(RegKey root, const char* path, const char* name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
    RegKey created = 0;
    if (registry_.CreateKey(root, path, &created) != kErrorSuccess) {
        return false;
    }
    const KeyOwner key(created, KeyCloser{&registry_});
    return registry_.SetValue(key.Get(), name, type, data, size) == kErrorSuccess;
}

bool CRegistryAccess::WriteString(RegKey root, const char* path, const char* name,
                                  std::string_view text) {
    const std::string stored(text.substr(0, text.find('\0')));
    return Write(root, path, name, kRegSz, reinterpret_cast<const std::uint8_t*>(stored.c_str()),
                 static_cast<std::uint32_t>(stored.size() + 1));
}

bool CRegistryAccess::WriteDword(RegKey root, const char* path, const char* name,
                                 std::uint32_t value) {
    std::uint8_t bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    return Write(root, path, name, kRegDword, bytes, sizeof bytes);
}
