#include "cache/url_cache_cleaner.h"

#include <cstring>

#include "app/messages.h"

namespace {

// The one fixed-memory block that holds the current entry record.
class EntryBlock {
  public:
    explicit EntryBlock(UrlCacheSeam& cache) : cache_(cache) {}
    ~EntryBlock() { Release(); }
    EntryBlock(const EntryBlock&) = delete;
    EntryBlock& operator=(const EntryBlock&) = delete;

    // Frees the current block first, so two are never held at once. On
    // failure no block is left.
    bool Replace(std::uint32_t size) {
        Release();
        block_ = cache_.Allocate(size);
        if (block_ == nullptr) {
            return false;
        }
        size_ = size;
        // The platform reads the record's size from its first field.
        std::memcpy(static_cast<char*>(block_) + offsetof(UrlCacheEntryHead, structSize), &size,
                    sizeof size);
        return true;
    }
    void* Get() const { return block_; }
    std::uint32_t Size() const { return size_; }
    UrlCacheEntryHead Head() const {
        UrlCacheEntryHead head;
        std::memcpy(&head, block_, sizeof head);
        return head;
    }

  private:
    void Release() {
        if (block_ != nullptr) {
            cache_.Free(block_);
            block_ = nullptr;
            size_ = 0;
        }
    }

    UrlCacheSeam& cache_;
    void* block_ = nullptr;
    std::uint32_t size_ = 0;
};

class FindHandle {
  public:
    explicit FindHandle(UrlCacheSeam& cache) : cache_(cache) {}
    ~FindHandle() {
        if (find_ != 0) {
            cache_.FindClose(find_);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    void Take(UrlCacheFind find) { find_ = find; }
    UrlCacheFind Get() const { return find_; }

  private:
    UrlCacheSeam& cache_;
    UrlCacheFind find_ = 0;
};

}  // namespace

int CleanUrlCache(UrlCacheSeam& cache, bool cookies) {
    FindHandle find(cache);
    EntryBlock entry(cache);  // freed first, then the handle closed
    std::uint32_t neededSize = kFirstEntryBlockSize;
    UrlCacheStatus status = kCacheInsufficientBuffer;
    for (;;) {
        if (status == kCacheSuccess) {
            const UrlCacheEntryHead head = entry.Head();
            const bool isCookie = (head.cacheEntryType & kCookieCacheEntry) != 0;
            if (isCookie == cookies && head.sourceUrlName != nullptr) {
                cache.DeleteEntry(head.sourceUrlName);  // a failure skips the entry
            }
        } else if (status == kCacheInsufficientBuffer) {
            // A need the block already meets (or a need of 0) would only fetch
            // the same refusal again: end the run instead of looping.
            if (neededSize <= entry.Size() || !entry.Replace(neededSize)) {
                break;
            }
        } else {
            break;  // the end of the enumeration, or any other failure
        }

        std::uint32_t size = entry.Size();
        bool fetched = false;
        if (find.Get() == 0) {
            find.Take(cache.FindFirst(entry.Get(), &size));
            fetched = find.Get() != 0;
        } else {
            fetched = cache.FindNext(find.Get(), entry.Get(), &size);
        }
        if (fetched) {
            status = kCacheSuccess;
        } else {
            status = cache.LastError();
            neededSize = size;
        }
    }
    return 1;
}

int DeleteTemporaryFiles(UrlCacheSeam& cache) {
    return CleanUrlCache(cache, false);
}

int DeleteCookies(UrlCacheSeam& cache) {
    return CleanUrlCache(cache, true);
}

void DeleteAfterConfirmation(WindowOps& window, UrlCacheSeam* cache, int (*clean)(UrlCacheSeam&)) {
    if (window.ShowMessage(kMsgConfirmDelete, kMbYesNo | kMbIconExclamation) != kIdYes) {
        return;
    }
    if (cache != nullptr) {
        clean(*cache);
    }
}
