#pragma once
// The URL cache seam over wininet. The library is not imported: it is loaded
// when the cache is first used, from the system directory only, so no copy
// planted beside the executable or on the search path is ever run. When it
// cannot be loaded, the cache behaves as an empty one.
#include <windows.h>
#include <wininet.h>

#include "cache/url_cache_seam.h"
#include "platform/win32_platform.h"

class Win32UrlCache final : public UrlCacheSeam {
  public:
    UrlCacheFind FindFirst(const char* pattern, void* entry, std::uint32_t* size) override;
    bool FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) override;
    bool DeleteEntry(const char* url) override;
    bool FindClose(UrlCacheFind find) override;
    UrlCacheStatus LastError() override { return GetLastError(); }
    void* Allocate(std::size_t size) override { return GlobalAlloc(GMEM_FIXED, size); }
    void Free(void* block) override { GlobalFree(block); }

  private:
    bool Load();

    ModuleOwner module_;
    decltype(&FindFirstUrlCacheEntryA) findFirst_ = nullptr;
    decltype(&FindNextUrlCacheEntryA) findNext_ = nullptr;
    decltype(&DeleteUrlCacheEntryA) delete_ = nullptr;
    decltype(&FindCloseUrlCache) findClose_ = nullptr;
};
