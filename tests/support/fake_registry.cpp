#include "tests/support/fake_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::string FakeRegistry::Fold(const std::string& text) {
    std::string folded = text;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

void FakeRegistry::SetRaw(const std::string& key, const std::string& name, std::uint32_t type,
                          std::vector<std::uint8_t> data) {
    // A key brings its parents with it, as in the real registry.
    for (std::size_t end = key.find('\\'); end != std::string::npos;
         end = key.find('\\', end + 1)) {
        keys_.insert(Fold(key.substr(0, end)));
    }
    keys_.insert(Fold(key));
    values_[Fold(key)][Fold(name)] = Value{type, std::move(data)};
}

void FakeRegistry::SetString(const std::string& key, const std::string& name,
                             const std::string& text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetRaw(key, name, kRegSz, std::move(data));
}

void FakeRegistry::SetDword(const std::string& key, const std::string& name, std::uint32_t value) {
    std::vector<std::uint8_t> data(4);
    std::memcpy(data.data(), &value, 4);
    SetRaw(key, name, kRegDword, std::move(data));
}

std::optional<FakeRegistry::Value> FakeRegistry::Get(const std::string& key,
                                                     const std::string& name) const {
    const auto k = values_.find(Fold(key));
    if (k == values_.end()) {
        return std::nullopt;
    }
    const auto v = k->second.find(Fold(name));
    if (v == k->second.end()) {
        return std::nullopt;
    }
    return v->second;
}

std::optional<std::uint32_t> FakeRegistry::GetDword(const std::string& key,
                                                    const std::string& name) const {
    const auto value = Get(key, name);
    if (!value || value->type != kRegDword || value->data.size() != 4) {
        return std::nullopt;
    }
    std::uint32_t result = 0;
    std::memcpy(&result, value->data.data(), 4);
    return result;
}

std::optional<std::string> FakeRegistry::GetString(const std::string& key,
                                                   const std::string& name) const {
    const auto value = Get(key, name);
    if (!value || value->type != kRegSz || value->data.empty() || value->data.back() != 0) {
        return std::nullopt;
    }
    return std::string(value->data.begin(), value->data.end() - 1);
}

std::size_t FakeRegistry::Writes() const {
    return static_cast<std::size_t>(std::count_if(
        log.begin(), log.end(), [](const std::string& l) { return l.rfind("write ", 0) == 0; }));
}

RegKey FakeRegistry::NewHandle(const std::string& key) {
    const RegKey handle = nextHandle_++;
    handles_[handle] = key;
    return handle;
}

RegStatus FakeRegistry::OpenKey(RegKey root, const char* path, std::uint32_t /*access*/,
                                RegKey* key) {
    *key = 0;
    const std::string folded = Fold(path);
    if (root != kHkeyCurrentUser || keys_.count(folded) == 0) {
        return kErrorFileNotFound;
    }
    if (denied_.count(folded) != 0) {
        return kErrorAccessDenied;
    }
    *key = NewHandle(folded);
    return kErrorSuccess;
}

RegStatus FakeRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) {
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) {
        return 6;  // ERROR_INVALID_HANDLE
    }
    log.push_back("read " + handle->second + "\\" + Fold(name));
    const auto value = Get(handle->second, name);
    if (!value) {
        return kErrorFileNotFound;
    }
    *type = value->type;
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return kErrorMoreData;
    }
    if (data != nullptr && needed != 0) {
        std::memcpy(data, value->data.data(), needed);
    }
    *size = needed;
    return kErrorSuccess;
}

RegStatus FakeRegistry::CreateKey(RegKey root, const char* path, RegKey* key) {
    *key = 0;
    const std::string folded = Fold(path);
    if (root != kHkeyCurrentUser) {
        return kErrorFileNotFound;
    }
    if (denied_.count(folded) != 0) {
        return kErrorAccessDenied;
    }
    for (std::size_t end = folded.find('\\'); end != std::string::npos;
         end = folded.find('\\', end + 1)) {
        keys_.insert(folded.substr(0, end));
    }
    keys_.insert(folded);
    *key = NewHandle(folded);
    return kErrorSuccess;
}

RegStatus FakeRegistry::SetValue(RegKey key, const char* name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) {
        return 6;  // ERROR_INVALID_HANDLE
    }
    log.push_back("write " + handle->second + "\\" + Fold(name));
    if (failStores_) {
        return kErrorAccessDenied;
    }
    values_[handle->second][Fold(name)] = Value{type, std::vector<std::uint8_t>(data, data + size)};
    return kErrorSuccess;
}

RegStatus FakeRegistry::CloseKey(RegKey key) {
    return handles_.erase(key) != 0 ? kErrorSuccess : 6;
}
