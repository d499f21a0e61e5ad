#include "store/registry_access.h"

#include <cstring>

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
