#include "store/registry_access.h"

#include <algorithm>
#include <cstring>
#include <vector>

int CRegistryAccess::Read(RegKey root, const char* path, const char* name, std::uint8_t* data,
                          std::uint32_t* size) {
    if (registry_.OpenKey(root, path, &key_) != kErrorSuccess) {
        return 0;
    }
    std::uint32_t type = 0;  // received, deliberately not checked
    const RegStatus status = registry_.QueryValue(key_, name, &type, data, size);
    registry_.CloseKey(key_);
    key_ = 0;
    return status == kErrorSuccess ? 1 : 0;
}

int CRegistryAccess::Write(RegKey root, const char* path, const char* name, std::uint32_t type,
                           const std::uint8_t* data, std::uint32_t size) {
    if (registry_.CreateKey(root, path, &key_) != kErrorSuccess) {
        return 0;
    }
    const RegStatus status = registry_.SetValue(key_, name, type, data, size);
    registry_.CloseKey(key_);
    key_ = 0;
    return status == kErrorSuccess ? 1 : 0;
}

int CRegistryAccess::ReadString(RegKey root, const char* path, const char* name, char* buffer,
                                std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::uint32_t length = size;
    if (!Read(root, path, name, reinterpret_cast<std::uint8_t*>(buffer), &length)) {
        return 0;
    }
    if (length < size) {
        buffer[length] = '\0';
        return 1;
    }
    // The data fills the buffer: readable only if it carries its own end.
    return std::memchr(buffer, '\0', size) != nullptr ? 1 : 0;
}

int CRegistryAccess::ReadDword(RegKey root, const char* path, const char* name,
                               std::uint32_t* value) {
    std::uint8_t bytes[sizeof(std::uint32_t)] = {};
    std::uint32_t length = sizeof bytes;
    if (!Read(root, path, name, bytes, &length) || length != sizeof bytes) {
        return 0;
    }
    std::memcpy(value, bytes, sizeof bytes);
    return 1;
}

int CRegistryAccess::WriteString(RegKey root, const char* path, const char* name,
                                 const char* text) {
    const auto size = static_cast<std::uint32_t>(std::strlen(text) + 1);
    return Write(root, path, name, kRegSz, reinterpret_cast<const std::uint8_t*>(text), size);
}

int CRegistryAccess::WriteDword(RegKey root, const char* path, const char* name,
                                std::uint32_t value) {
    std::uint8_t bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    return Write(root, path, name, kRegDword, bytes, sizeof bytes);
}

ReadOutcome CRegistryAccess::ReadWholeString(RegKey root, const char* path, const char* name,
                                             std::string* text, std::uint32_t maxBytes) {
    text->clear();
    const RegStatus opened = registry_.OpenKey(root, path, &key_);
    if (opened != kErrorSuccess) {
        return opened == kErrorFileNotFound ? ReadOutcome::kMissing : ReadOutcome::kUnreadable;
    }
    // Most texts fit the first try; a value that grows between two tries (it
    // belongs to other programs too) is chased a few times, never forever.
    constexpr int kTries = 4;
    std::vector<std::uint8_t> buffer(std::min<std::uint32_t>(260, maxBytes));
    std::uint32_t length = 0;
    RegStatus status = kErrorMoreData;
    for (int attempt = 0; attempt < kTries && status == kErrorMoreData; ++attempt) {
        length = static_cast<std::uint32_t>(buffer.size());
        std::uint32_t type = 0;  // received, deliberately not checked
        status = registry_.QueryValue(key_, name, &type, buffer.data(), &length);
        if (status == kErrorMoreData) {
            if (length > maxBytes) {
                break;  // over the cap: unreadable, whatever it holds
            }
            buffer.resize(std::max<std::size_t>(length, buffer.size() * 2));
        }
    }
    registry_.CloseKey(key_);
    key_ = 0;
    if (status != kErrorSuccess) {
        return status == kErrorFileNotFound ? ReadOutcome::kMissing : ReadOutcome::kUnreadable;
    }
    const std::uint8_t* data = buffer.data();
    const std::uint8_t* end =
        std::find(data, data + std::min<std::size_t>(length, buffer.size()), 0);
    // A text without its zero byte must still fit the cap once it is ended.
    if (static_cast<std::size_t>(end - data) >= maxBytes) {
        return ReadOutcome::kUnreadable;
    }
    text->assign(data, end);
    return ReadOutcome::kRead;
}
