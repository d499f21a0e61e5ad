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
    DWORD recordSize = 0;
    bool Cookie() const { return (type & COOKIE_CACHE_ENTRY) != 0; }
};

// An entry without a file; headers of headerBytes make its record larger.
inline bool Seed(const std::string& url, bool cookie, std::size_t headerBytes = 0) {
    std::string headers = headerBytes ? "X-Pad: " + std::string(headerBytes, 'p') + "\r\n\r\n" : "";
    return CommitUrlCacheEntryA(url.c_str(), nullptr, {}, {}, cookie ? COOKIE_CACHE_ENTRY : 0,
                                reinterpret_cast<BYTE*>(headers.data()),
                                static_cast<DWORD>(headers.size()), nullptr, nullptr);
}

// What an enumeration with the pattern lists, in its order.
inline std::vector<Entry> Read(const char* pattern = nullptr) {
    std::vector<Entry> entries;
    std::vector<char> block(1 << 20);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = block.size();
    const HANDLE find = FindFirstUrlCacheEntryA(pattern, info, &size);
    if (find == nullptr) {
        return entries;
    }
    do {
        entries.push_back({info->lpszSourceUrlName, info->CacheEntryType, size});
        size = block.size();
    } while (FindNextUrlCacheEntryA(find, info, &size));
    FindCloseUrlCache(find);
    return entries;
}

inline bool Empty() {  // true when nothing is left
    for (const Entry& entry : Read()) {
        DeleteUrlCacheEntryA(entry.url.c_str());
    }
    return Read().empty();
}

}  // namespace wine_cache
