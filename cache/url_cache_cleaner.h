#pragma once
// Empties the URL cache of its temporary files or of its cookies.
#include <cstdint>

#include "app/window/window_ops.h"
#include "cache/url_cache_seam.h"

// Size of the entry block a run starts with; it grows only when an entry
// needs more, and never shrinks during the run.
constexpr std::uint32_t kFirstEntryBlockSize = 4096;

// Deletes every entry that has the cookie bit (cookies true) or every entry
// that lacks it (cookies false), in one enumeration of the whole cache. Failed
// deletions are skipped; any end of the enumeration ends the run, and what was
// deleted stays deleted. Returns 1.
int CleanUrlCache(UrlCacheSeam& cache, bool cookies);

// The temporary internet files: every entry without the cookie bit.
int DeleteTemporaryFiles(UrlCacheSeam& cache);
// Every entry with the cookie bit.
int DeleteCookies(UrlCacheSeam& cache);

// A delete button: asks first and runs clean on Yes; shows nothing afterwards.
// A missing cache acts as an empty one.
void DeleteAfterConfirmation(WindowOps& window, UrlCacheSeam* cache, int (*clean)(UrlCacheSeam&));
