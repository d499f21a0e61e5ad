#pragma once
// Seeding and reading Wine's real URL cache through wininet (link wininet).
#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

namespace wine_cache {

struct Entry {
    std::string url;
    DWORD type = 0;
    DWORD recordSize = 0;  // the bytes its record took
    bool Cookie() const { return (type & COOKIE_CACHE_ENTRY) != 0; }
};

// An entry without a file; headerBytes of headers make its record larger.
inline bool Seed(const std::string& url, bool cookie, std::size_t headerBytes = 0) {
    std::string headers = headerBytes ? "X-Pad: " + std::string(headerBytes, 'p') + "\r\n\r\n" : "";
    return CommitUrlCacheEntryA(url.c_str(), nullptr, {}, {},
                                cookie ? COOKIE_CACHE_ENTRY : NORMAL_CACHE_ENTRY,
                                reinterpret_cast<BYTE*>(headers.data()),
                                static_cast<DWORD>(headers.size()), nullptr, nullptr) != FALSE;
}

// What an enumeration with the pattern lists, in its order.
inline std::vector<Entry> Read(const char* pattern = nullptr) {
    std::vector<Entry> entries;
    std::vector<char> block(1 << 20);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = static_cast<DWORD>(block.size());
    const HANDLE find = FindFirstUrlCacheEntryA(pattern, info, &size);
    for (bool more = find != nullptr; more; more = FindNextUrlCacheEntryA(find, info, &size)) {
        entries.push_back({info->lpszSourceUrlName, info->CacheEntryType, size});
        size = static_cast<DWORD>(block.size());
    }
    if (find != nullptr) {
        FindCloseUrlCache(find);
    }
    return entries;
}

// True when nothing is left.
inline bool Empty() {
    for (const Entry& entry : Read()) {
        DeleteUrlCacheEntryA(entry.url.c_str());
    }
    return Read().empty();
}

}  // namespace wine_cache
