#include "cache/win32_url_cache.h"

#include <cstddef>
#include <utility>

static_assert(offsetof(INTERNET_CACHE_ENTRY_INFOA, dwStructSize) ==
              offsetof(UrlCacheEntryHead, structSize));
static_assert(offsetof(INTERNET_CACHE_ENTRY_INFOA, lpszSourceUrlName) ==
              offsetof(UrlCacheEntryHead, sourceUrlName));
static_assert(offsetof(INTERNET_CACHE_ENTRY_INFOA, CacheEntryType) ==
              offsetof(UrlCacheEntryHead, cacheEntryType));
static_assert(COOKIE_CACHE_ENTRY == kCookieCacheEntry);
static_assert(ERROR_INSUFFICIENT_BUFFER == kCacheInsufficientBuffer);
static_assert(ERROR_NO_MORE_ITEMS == kCacheNoMoreItems);

bool Win32UrlCache::Load() {
    if (module_.Valid()) {
        return true;
    }
    ModuleOwner owner = LoadSystemLibrary(L"wininet.dll");
    const HMODULE module = owner.Get();
    if (module == nullptr || !Resolve(module, "FindFirstUrlCacheEntryA", &findFirst_) ||
        !Resolve(module, "FindNextUrlCacheEntryA", &findNext_) ||
        !Resolve(module, "DeleteUrlCacheEntryA", &delete_) ||
        !Resolve(module, "FindCloseUrlCache", &findClose_)) {
        return false;
    }
    module_ = std::move(owner);
    return true;
}

UrlCacheFind Win32UrlCache::FindFirst(const char* pattern, void* entry, std::uint32_t* size) {
    if (!Load()) {
        // Without the library there is nothing to enumerate.
        SetLastError(ERROR_NO_MORE_ITEMS);
        return 0;
    }
    DWORD length = *size;
    HANDLE find = findFirst_(pattern, static_cast<LPINTERNET_CACHE_ENTRY_INFOA>(entry), &length);
    *size = length;
    return reinterpret_cast<UrlCacheFind>(find);
}

bool Win32UrlCache::FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) {
    if (!module_.Valid()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD length = *size;
    const BOOL found = findNext_(reinterpret_cast<HANDLE>(find),
                                 static_cast<LPINTERNET_CACHE_ENTRY_INFOA>(entry), &length);
    *size = length;
    return found != FALSE;
}

bool Win32UrlCache::DeleteEntry(const char* url) {
    return module_.Valid() && delete_(url) != FALSE;
}

bool Win32UrlCache::FindClose(UrlCacheFind find) {
    return module_.Valid() && findClose_(reinterpret_cast<HANDLE>(find)) != FALSE;
}

UrlCacheSeam& TheUrlCache() {
    static Win32UrlCache cache;
    return cache;
}
