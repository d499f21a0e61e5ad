#pragma once
// Seeding and reading the real URL cache through wininet, for the programs
// that check or time the cleaner against it (link wininet).
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace wine_cache {

struct Entry {
    std::string url;
    DWORD type = 0;
    DWORD recordSize = 0;  // the bytes its record took
    bool Cookie() const { return (type & COOKIE_CACHE_ENTRY) != 0; }
    bool operator<(const Entry& other) const { return url < other.url; }
    bool operator==(const Entry& other) const { return url == other.url && type == other.type; }
};

inline std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    return out << entry.url << (entry.Cookie() ? " (cookie)" : "");
}

// The whole cache, sorted by URL, read with a block no entry outgrows.
inline std::vector<Entry> Read() {
    std::vector<Entry> entries;
    std::vector<unsigned char> block(1 << 20);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = static_cast<DWORD>(block.size());
    HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
    if (find == nullptr) {
        return entries;
    }
    do {
        entries.push_back({info->lpszSourceUrlName, info->CacheEntryType, size});
        size = static_cast<DWORD>(block.size());
    } while (FindNextUrlCacheEntryA(find, info, &size));
    FindCloseUrlCache(find);
    std::sort(entries.begin(), entries.end());
    return entries;
}

inline std::vector<Entry> OfKind(const std::vector<Entry>& entries, bool cookies) {
    std::vector<Entry> kind;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(kind),
                 [cookies](const Entry& entry) { return entry.Cookie() == cookies; });
    return kind;
}

// True when nothing is left.
inline bool Empty() {
    for (const Entry& entry : Read()) {
        DeleteUrlCacheEntryA(entry.url.c_str());
    }
    return Read().empty();
}

// A header block this long makes an entry's record larger than length bytes.
inline std::string LongHeaders(std::size_t length) {
    return "X-Padding: " + std::string(length, 'p') + "\r\n\r\n";
}

inline bool Commit(const std::string& url, const char* file, DWORD type,
                   const std::string& headers) {
    const FILETIME never{};
    return CommitUrlCacheEntryA(url.c_str(), file, never, never, type,
                                reinterpret_cast<BYTE*>(const_cast<char*>(headers.data())),
                                static_cast<DWORD>(headers.size()), nullptr, nullptr) != FALSE;
}

// A page with its file in the cache folder, as a browser leaves one.
inline bool SeedPage(const std::string& url, const std::string& headers = {}) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) {
        return false;
    }
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    static const char kPage[] = "<html><body>cached page</body></html>";
    DWORD written = 0;
    const bool wrote = WriteFile(handle, kPage, sizeof kPage - 1, &written, nullptr) != FALSE;
    CloseHandle(handle);
    return wrote && Commit(url, file, NORMAL_CACHE_ENTRY, headers);
}

// A cookie entry, e.g. "Cookie:user@host.example/"; cookies have no file here.
inline bool SeedCookie(const std::string& url, const std::string& headers = {}) {
    return Commit(url, nullptr, COOKIE_CACHE_ENTRY, headers);
}

}  // namespace wine_cache
