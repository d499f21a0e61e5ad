#include "tests/support/fakes.h"

#include <cctype>
#include <cstring>

namespace {

constexpr RegStatus kAccessDenied = 5;
constexpr RegStatus kInvalidHandle = 6;
// The fixed part of a cache record, before its strings.
constexpr std::uint32_t kRecordHead = 80;

}  // namespace

std::string Fold(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

void FakeRegistry::Put(RegKey root, const std::string& path, const std::string& name,
                       const std::optional<Value>& value) {
    for (std::size_t end = 0; end != std::string::npos; end = path.find('\\', end + 1)) {
        keys[{root, Fold(path.substr(0, end))}];
    }
    auto& values = keys[{root, Fold(path)}];
    value ? void(values[Fold(name)] = *value) : void(values.erase(Fold(name)));
}

RegStatus FakeRegistry::OpenKey(RegKey root, const char* path, std::uint32_t access, RegKey* key) {
    const Key opened{root, Fold(path)};
    if (keys.count(opened) == 0) {
        return 2;  // ERROR_FILE_NOT_FOUND
    }
    if (readOnly.count(opened) != 0 && (access & ~kKeyRead) != 0) {
        return kAccessDenied;
    }
    open_[*key = next_++] = opened;
    return 0;
}

RegStatus FakeRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) {
    log.push_back("read " + std::string(name));
    const auto values = open_.count(key) != 0 ? keys.find(open_[key]) : keys.end();
    if (values == keys.end()) {
        return kInvalidHandle;
    }
    const auto value = values->second.find(Fold(name));
    if (value == values->second.end()) {
        return 2;
    }
    const auto needed = static_cast<std::uint32_t>(value->second.bytes.size());
    const bool fits = *size >= needed;
    *type = value->second.type;
    *size = needed;
    if (!fits) {
        return kErrorMoreData;
    }
    std::memcpy(data, value->second.bytes.data(), needed);
    return 0;
}

RegStatus FakeRegistry::CreateKey(RegKey root, const char* path, RegKey* key) {
    if (readOnly.count({root, Fold(path)}) != 0) {
        return kAccessDenied;
    }
    for (std::size_t end = 0; end != std::string::npos;
         end = std::string(path).find('\\', end + 1)) {
        keys[{root, Fold(std::string(path).substr(0, end))}];
    }
    keys[{root, Fold(path)}];
    return OpenKey(root, path, kKeyAllAccess, key);
}

RegStatus FakeRegistry::SetValue(RegKey key, const char* name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
    log.push_back("write " + std::string(name));
    if (open_.count(key) == 0 || readOnly.count(open_[key]) != 0) {
        return open_.count(key) == 0 ? kInvalidHandle : kAccessDenied;
    }
    keys[open_[key]][Fold(name)] = {type, {data, data + size}};
    return 0;
}

std::uint32_t FakeFiles::CurrentDirectory(char* buffer, std::uint32_t size) {
    const auto length = static_cast<std::uint32_t>(directory.size());
    if (length + 1 > size) {
        return length == 0 ? 0 : length + 1;
    }
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

bool FakeFiles::ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) {
    const auto file = files.find(Fold(path));
    if (file != files.end()) {
        *bytes = file->second.substr(0, maxBytes);
    }
    return file != files.end();
}

void FakeUrlCache::Add(const std::string& url, bool cookie, std::size_t extraBytes) {
    entries[serial_++] = {url, cookie ? kCookieCacheEntry | 1 : 1u, extraBytes};
}

std::vector<std::string> FakeUrlCache::Urls() const {
    std::vector<std::string> urls;
    for (const auto& [serial, entry] : entries) {
        urls.push_back(entry.url);
    }
    return urls;
}

bool FakeUrlCache::Fetch(Find& find, void* block, std::uint32_t* size) {
    // A pattern names a container by the start of its entries' names, case
    // and all, as Wine compares it.
    const auto listed = [&](const std::string& url) {
        return find.pattern ? url.rfind(*find.pattern, 0) == 0
                            : !contentOnly ||
                                  (url.rfind("Cookie:", 0) != 0 && url.rfind("Visited:", 0) != 0);
    };
    auto it = entries.lower_bound(find.next);
    while (it != entries.end() && !listed(it->second.url)) {
        ++it;
    }
    const auto owned = blocks_.find(block);
    if (++fetches > 100000 || owned == blocks_.end() || owned->second.second < *size) {
        faults.push_back("a runaway loop, or a fetch into a block smaller than the size given");
        return false;
    }
    const std::size_t needed =
        it == entries.end() ? 0 : kRecordHead + it->second.url.size() + 1 + it->second.extraBytes;
    last_ = fetchesBeforeBreak == 0 ? breakStatus
            : it == entries.end()   ? kCacheNoMoreItems
            : *size < needed        ? kCacheInsufficientBuffer
                                    : kCacheSuccess;
    if (last_ == kCacheInsufficientBuffer) {
        *size = misreportedSize.value_or(static_cast<std::uint32_t>(needed));
    }
    if (last_ != kCacheSuccess) {
        return false;
    }
    --fetchesBeforeBreak;
    char* url = static_cast<char*>(block) + kRecordHead;
    std::memcpy(url, it->second.url.c_str(), it->second.url.size() + 1);
    const UrlCacheEntryHead head{kRecordHead, url, nullptr, it->second.type};
    std::memcpy(block, &head, sizeof head);
    *size = static_cast<std::uint32_t>(needed);
    find.next = it->first + 1;
    return true;
}

UrlCacheFind FakeUrlCache::FindFirst(const char* pattern, void* entry, std::uint32_t* size) {
    Find find{0, pattern ? std::optional<std::string>(pattern) : std::nullopt};
    if (!Fetch(find, entry, size)) {
        return 0;  // a failed first fetch leaves no handle
    }
    finds_[nextFind_] = find;
    return nextFind_++;
}

bool FakeUrlCache::FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) {
    if (finds_.count(find) == 0) {
        faults.push_back("a fetch with an unknown handle");
        return false;
    }
    return Fetch(finds_[find], entry, size);
}

bool FakeUrlCache::DeleteEntry(const char* url) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->second.url == url && refused.count(url) == 0) {
            entries.erase(it);
            return true;
        }
    }
    last_ = kAccessDenied;
    return false;
}

bool FakeUrlCache::FindClose(UrlCacheFind find) {
    if (finds_.erase(find) == 0) {
        faults.push_back("a close of an unknown handle");
    }
    return true;
}

void* FakeUrlCache::Allocate(std::size_t size) {
    allocations.push_back(size);
    if (failAllocationsFrom != 0 && allocations.size() >= failAllocationsFrom) {
        return nullptr;
    }
    auto bytes = std::make_unique<char[]>(size + 1);
    void* block = bytes.get();
    blocks_[block] = {std::move(bytes), size};
    return block;
}

void FakeUrlCache::Free(void* block) {
    if (blocks_.erase(block) == 0) {
        faults.push_back("a free of a block not handed out");
    }
}
