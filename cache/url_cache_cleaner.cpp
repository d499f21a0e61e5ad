#include "cache/url_cache_cleaner.h"

#include <cstring>

#include "store/owner.h"

namespace {

struct FindCloser {
    UrlCacheSeam* cache = nullptr;
    static UrlCacheFind None() { return 0; }
    void operator()(UrlCacheFind find) const { cache->FindClose(find); }
};

struct BlockFreer {
    UrlCacheSeam* cache = nullptr;
    static void* None() { return nullptr; }
    void operator()(void* block) const { cache->Free(block); }
};

UrlCacheEntryHead HeadOf(const void* block) {
    UrlCacheEntryHead head;
    std::memcpy(&head, block, sizeof head);
    return head;
}

// The cookie container as the platforms name it: Windows' own spelling,
// which Wine compares case-sensitively, then the one its documentation uses.
constexpr const char* kCookiePatterns[] = {"Cookie:", "cookie:"};

}  // namespace

CleanResult CleanUrlCache(UrlCacheSeam& cache, bool cookies, const char* pattern,
                          CleanObserver* observer) {
    CleanResult result;
    Owner<UrlCacheFind, FindCloser> find(0, FindCloser{&cache});
    // Declared after the handle, so it is freed before the handle is closed.
    Owner<void*, BlockFreer> block(nullptr, BlockFreer{&cache});
    std::uint32_t blockSize = 0;
    std::uint32_t neededSize = kFirstEntryBlockSize;
    UrlCacheStatus status = kCacheInsufficientBuffer;
    for (;;) {
        if (status == kCacheSuccess) {
            ++result.seen;
            const UrlCacheEntryHead head = HeadOf(block.Get());
            const bool isCookie = (head.cacheEntryType & kCookieCacheEntry) != 0;
            if (isCookie == cookies && head.sourceUrlName != nullptr) {
                ++(cache.DeleteEntry(head.sourceUrlName) ? result.deleted : result.refused);
            }
            if (observer != nullptr && !observer->KeepGoing(result)) {
                result.end = CleanEnd::kStopped;
                break;
            }
        } else if (status == kCacheInsufficientBuffer) {
            // A need the block already meets (or a need of 0) would only fetch
            // the same refusal again: end the run instead of looping.
            if (neededSize <= blockSize) {
                result.end = CleanEnd::kFailed;
                break;
            }
            block.Reset();  // two blocks are never held at once
            block.Reset(cache.Allocate(neededSize));
            if (!block.Valid()) {
                result.end = CleanEnd::kFailed;
                break;
            }
            blockSize = neededSize;
            // The platform reads the record's size from its first field.
            std::memcpy(static_cast<char*>(block.Get()) + offsetof(UrlCacheEntryHead, structSize),
                        &blockSize, sizeof blockSize);
        } else {
            result.end = status == kCacheNoMoreItems ? CleanEnd::kComplete : CleanEnd::kFailed;
            break;
        }

        std::uint32_t size = blockSize;
        bool fetched = false;
        if (!find.Valid()) {
            find.Reset(cache.FindFirst(pattern, block.Get(), &size));
            fetched = find.Valid();
        } else {
            fetched = cache.FindNext(find.Get(), block.Get(), &size);
        }
        if (fetched) {
            status = kCacheSuccess;
        } else {
            status = cache.LastError();
            neededSize = size;
        }
    }
    return result;
}

CleanResult DeleteTemporaryFiles(UrlCacheSeam& cache, CleanObserver* observer) {
    return CleanUrlCache(cache, false, nullptr, observer);
}

CleanResult DeleteCookies(UrlCacheSeam& cache, CleanObserver* observer) {
    CleanResult result;
    for (const char* pattern : kCookiePatterns) {
        result = CleanUrlCache(cache, true, pattern, observer);
        if (result.seen != 0 || result.end != CleanEnd::kComplete) {
            break;
        }
    }
    return result;
}
