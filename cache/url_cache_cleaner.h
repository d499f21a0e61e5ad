#pragma once
// Empties the URL cache of its temporary files or of its cookies.
#include <cstddef>
#include <cstdint>

#include "cache/url_cache_seam.h"

// Size of the entry block a run starts with; it grows only when an entry
// needs more, and never shrinks during the run.
constexpr std::uint32_t kFirstEntryBlockSize = 4096;

enum class CleanEnd {
    kComplete,  // the enumeration came to its end
    kStopped,   // the observer asked to stop
    kFailed,    // the enumeration or the entry block failed
};

struct CleanResult {
    std::size_t seen = 0;     // entries enumerated
    std::size_t deleted = 0;  // entries of the kind asked for, deleted
    std::size_t refused = 0;  // entries of that kind whose deletion failed
    CleanEnd end = CleanEnd::kComplete;
};

// Told of each entry as the run goes; may stop it between two entries.
class CleanObserver {
  public:
    virtual ~CleanObserver() = default;
    // False stops the run before the next entry is fetched.
    virtual bool KeepGoing(const CleanResult& soFar) = 0;
};

// Deletes every entry enumerated with `pattern` that has the cookie bit
// (cookies true) or that lacks it (cookies false). A failed deletion is
// skipped; any end of the enumeration ends the run, and what was deleted
// stays deleted.
CleanResult CleanUrlCache(UrlCacheSeam& cache, bool cookies, const char* pattern,
                          CleanObserver* observer = nullptr);

// The temporary internet files: every content entry without the cookie bit.
CleanResult DeleteTemporaryFiles(UrlCacheSeam& cache, CleanObserver* observer = nullptr);
// Every entry of the cookie container with the cookie bit.
CleanResult DeleteCookies(UrlCacheSeam& cache, CleanObserver* observer = nullptr);
