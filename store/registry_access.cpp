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

KeyOwner OpenKey(RegistrySeam& registry, RegKey root, const char* path, std::uint32_t access,
                 RegStatus* status) {
    RegKey opened = 0;
    *status = registry.OpenKey(root, path, access, &opened);
    return KeyOwner(*status == kErrorSuccess ? opened : 0, KeyCloser{&registry});
}

// The first try's buffer: most texts fit it.
constexpr std::uint32_t kFirstBuffer = 260;
// A value that another program keeps growing between two tries is chased a
// few times, never forever.
constexpr int kTries = 4;

// Queries a value of at most maxBytes into a buffer that grows to what the
// platform reports it needs; *size is what it holds.
RegStatus Query(RegistrySeam& registry, RegKey key, const char* name, std::uint32_t maxBytes,
                std::vector<std::uint8_t>* buffer, std::uint32_t* size, std::uint32_t* type) {
    buffer->assign(std::min(kFirstBuffer, maxBytes), 0);
    RegStatus status = kErrorMoreData;
    for (int attempt = 0; attempt < kTries && status == kErrorMoreData; ++attempt) {
        *size = static_cast<std::uint32_t>(buffer->size());
        status = registry.QueryValue(key, name, type, buffer->data(), size);
        if (status == kErrorMoreData) {
            if (*size > maxBytes) {
                return status;
            }
            buffer->resize(std::max<std::size_t>(*size, buffer->size() * 2));
        }
    }
    *size = std::min(*size, static_cast<std::uint32_t>(buffer->size()));
    return status;
}

}  // namespace

ReadOutcome DwordFromBytes(std::string_view bytes, std::uint32_t* value) {
    if (bytes.size() != sizeof *value) {
        return ReadOutcome::kUnreadable;
    }
    std::memcpy(value, bytes.data(), sizeof *value);
    return ReadOutcome::kRead;
}

ReadOutcome TextFromBytes(std::string_view bytes, std::uint32_t maxBytes, std::string* text) {
    text->assign(bytes.substr(0, bytes.find('\0')));
    if (text->size() >= maxBytes) {
        text->clear();
        return ReadOutcome::kUnreadable;
    }
    return ReadOutcome::kRead;
}

ReadOutcome CRegistryAccess::ReadDword(RegKey root, const char* path, const char* name,
                                       std::uint32_t* value, std::uint32_t access) {
    RegStatus status = kErrorSuccess;
    const KeyOwner key = OpenKey(registry_, root, path, access, &status);
    if (!key.Valid()) {
        return OutcomeOf(status);
    }
    std::uint8_t bytes[sizeof(std::uint32_t)] = {};
    std::uint32_t length = sizeof bytes;
    std::uint32_t type = 0;  // received, deliberately not checked
    const RegStatus queried = registry_.QueryValue(key.Get(), name, &type, bytes, &length);
    if (queried != kErrorSuccess) {
        return OutcomeOf(queried);
    }
    return DwordFromBytes({reinterpret_cast<const char*>(bytes), length}, value);
}

ReadOutcome CRegistryAccess::ReadString(RegKey root, const char* path, const char* name,
                                        std::string* text, std::uint32_t maxBytes) {
    text->clear();
    RawValue value;
    const ReadOutcome read = ReadBytes(root, path, name, maxBytes, &value);
    return read == ReadOutcome::kRead ? TextFromBytes(value.bytes, maxBytes, text) : read;
}

ReadOutcome CRegistryAccess::ReadRaw(RegKey root, const char* path, const char* name,
                                     RawValue* value) {
    return ReadBytes(root, path, name, kMaxRawBytes, value);
}

ReadOutcome CRegistryAccess::ReadBytes(RegKey root, const char* path, const char* name,
                                       std::uint32_t maxBytes, RawValue* value) {
    RegStatus status = kErrorSuccess;
    const KeyOwner key = OpenKey(registry_, root, path, kKeyAllAccess, &status);
    if (!key.Valid()) {
        return OutcomeOf(status);
    }
    std::vector<std::uint8_t> buffer;
    std::uint32_t length = 0;
    std::uint32_t type = 0;
    const RegStatus queried = Query(registry_, key.Get(), name, maxBytes, &buffer, &length, &type);
    if (queried != kErrorSuccess) {
        return OutcomeOf(queried);
    }
    *value = RawValue{type, std::string(buffer.begin(), buffer.begin() + length)};
    return ReadOutcome::kRead;
}

bool CRegistryAccess::WriteRaw(RegKey root, const char* path, const char* name,
                               const std::optional<RawValue>& value) {
    RegKey handle = 0;
    // Deleting opens the key, since creating it would leave an empty key behind.
    const RegStatus status = value ? registry_.CreateKey(root, path, &handle)
                                   : registry_.OpenKey(root, path, kKeyAllAccess, &handle);
    if (status != kErrorSuccess) {
        return !value && status == kErrorFileNotFound;
    }
    const KeyOwner key(handle, KeyCloser{&registry_});
    if (!value) {
        const RegStatus deleted = registry_.DeleteValue(key.Get(), name);
        return deleted == kErrorSuccess || deleted == kErrorFileNotFound;
    }
    return registry_.SetValue(key.Get(), name, value->type,
                              reinterpret_cast<const std::uint8_t*>(value->bytes.data()),
                              static_cast<std::uint32_t>(value->bytes.size())) == kErrorSuccess;
}

RawValue StringValue(std::string_view text) {
    std::string stored(text.substr(0, text.find('\0')));
    stored += '\0';
    return {kRegSz, std::move(stored)};
}

RawValue DwordValue(std::uint32_t value) {
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return {kRegDword, std::move(bytes)};
}
