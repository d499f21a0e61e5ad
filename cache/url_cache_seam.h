#pragma once
// The URL cache calls the cleaner needs (find first, find next, delete, close,
// the last error, and fixed memory for the entry record), with the platform's
// status codes and record layout, so the cleaner builds and is tested without
// Windows.
#include <cstddef>
#include <cstdint>

// An open enumeration; 0 is none.
using UrlCacheFind = std::uintptr_t;
using UrlCacheStatus = std::uint32_t;

// Status codes the cleaner relies on (Win32 values).
constexpr UrlCacheStatus kCacheSuccess = 0;
constexpr UrlCacheStatus kCacheInsufficientBuffer = 122;
constexpr UrlCacheStatus kCacheNoMoreItems = 259;

// Entry type bit of cookies (Win32 value).
constexpr std::uint32_t kCookieCacheEntry = 0x00100000;

// The start of the platform's entry record (INTERNET_CACHE_ENTRY_INFOA) up to
// the fields the cleaner reads; its strings live later in the same block. The
// Win32 side checks that the offsets agree.
struct UrlCacheEntryHead {
    std::uint32_t structSize;
    char* sourceUrlName;
    char* localFileName;
    std::uint32_t cacheEntryType;
};

class UrlCacheSeam {
  public:
    virtual ~UrlCacheSeam() = default;
    // FindFirstUrlCacheEntryA: pattern null enumerates the content entries,
    // else the container it names ("Cookie:"). *size is the block's size in;
    // after a failure for lack of space, the size the entry needs. Returns 0
    // on failure.
    virtual UrlCacheFind FindFirst(const char* pattern, void* entry, std::uint32_t* size) = 0;
    // FindNextUrlCacheEntryA; *size as above.
    virtual bool FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) = 0;
    // DeleteUrlCacheEntryA.
    virtual bool DeleteEntry(const char* url) = 0;
    // FindCloseUrlCache.
    virtual bool FindClose(UrlCacheFind find) = 0;
    // GetLastError after a failed call.
    virtual UrlCacheStatus LastError() = 0;
    // GlobalAlloc(GMEM_FIXED); null on failure.
    virtual void* Allocate(std::size_t size) = 0;
    // GlobalFree.
    virtual void Free(void* block) = 0;
};

// The process-wide URL cache of the platform.
UrlCacheSeam& TheUrlCache();
