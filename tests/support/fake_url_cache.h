#pragma once
// An in-memory URL cache that keeps the promises the cleaner relies on and no
// more: a fetch that fails for lack of space reports the size the entry needs
// and does not advance the enumeration; deleting during an open enumeration
// skips nothing; the end of the enumeration, an empty cache's first fetch
// included, fails with ERROR_NO_MORE_ITEMS. Blocks come from here too, so a
// test can refuse them and see that every one is given back.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cache/url_cache_seam.h"

// Further statuses the replacement reports (Win32 values).
constexpr UrlCacheStatus kCacheFileNotFound = 2;
constexpr UrlCacheStatus kCacheAccessDenied = 5;
constexpr UrlCacheStatus kCacheInvalidHandle = 6;
constexpr UrlCacheStatus kCacheNotEnoughMemory = 8;

class FakeUrlCache final : public UrlCacheSeam {
  public:
    // The fixed part of a record, before its strings.
    static constexpr std::uint32_t kRecordHeadSize = 80;
    // Calls after which the cache stops answering, so a runaway loop ends
    // (and is reported in faults) instead of hanging the test.
    static constexpr std::size_t kCallLimit = 100000;

    // Set-up. extraBytes lengthens the record, as a long header block does.
    void Add(const std::string& url, std::uint32_t type, std::size_t extraBytes = 0);
    // The nth allocation from now on (1 = the next) and all later ones fail.
    void FailAllocationsFrom(std::size_t nth) { failAllocationsFrom_ = allocations.size() + nth; }
    // A lack of space reports this size instead of the true one.
    void MisreportNeededSize(std::uint32_t size) { misreport_ = size; }
    void RefuseDeletion(const std::string& url) { refused_.insert(url); }
    // The fetch after `fetches` more successful ones fails with status.
    void BreakEnumerationAfter(std::size_t fetches, UrlCacheStatus status);

    // Inspection.
    std::vector<std::string> Urls() const;  // what is left, in enumeration order
    std::size_t OpenFinds() const { return finds_.size(); }
    std::size_t LiveBlocks() const { return blocks_.size(); }
    std::vector<std::size_t> allocations;  // sizes asked for, in order
    std::vector<std::string> deleted;      // in order
    std::size_t fetchCalls = 0;            // FindFirst and FindNext
    std::size_t firstCalls = 0;
    // Breaches of the platform's contract by the caller: unknown handles or
    // blocks, sizes larger than the block, calls past the limit.
    std::vector<std::string> faults;

    UrlCacheFind FindFirst(const char* pattern, void* entry, std::uint32_t* size) override;
    bool FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) override;
    bool DeleteEntry(const char* url) override;
    bool FindClose(UrlCacheFind find) override;
    UrlCacheStatus LastError() override { return lastError_; }
    void* Allocate(std::size_t size) override;
    void Free(void* block) override;

  private:
    struct Entry {
        std::string url;
        std::uint32_t type;
        std::size_t extraBytes;
    };
    bool Fetch(std::uint64_t* cursor, void* block, std::uint32_t* size);
    bool Fail(UrlCacheStatus status);
    bool Counted();

    std::map<std::uint64_t, Entry> entries_;  // by insertion serial: enumeration order
    std::uint64_t nextSerial_ = 0;
    std::map<UrlCacheFind, std::uint64_t> finds_;  // handle -> serial of the next entry
    UrlCacheFind nextFind_ = 0x100;
    std::map<void*, std::pair<std::unique_ptr<unsigned char[]>, std::size_t>> blocks_;
    std::size_t failAllocationsFrom_ = 0;
    std::optional<std::uint32_t> misreport_;
    std::set<std::string> refused_;
    std::optional<std::pair<std::size_t, UrlCacheStatus>> breakAfter_;
    UrlCacheStatus lastError_ = kCacheSuccess;
    std::size_t calls_ = 0;
};
