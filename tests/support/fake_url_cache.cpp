#include "tests/support/fake_url_cache.h"

#include <cstring>

void FakeUrlCache::Add(const std::string& url, std::uint32_t type, std::size_t extraBytes) {
    entries_.emplace(nextSerial_++, Entry{url, type, extraBytes});
}

void FakeUrlCache::BreakEnumerationAfter(std::size_t fetches, UrlCacheStatus status) {
    breakAfter_ = std::make_pair(fetches, status);
}

std::vector<std::string> FakeUrlCache::Urls() const {
    std::vector<std::string> urls;
    for (const auto& [serial, entry] : entries_) {
        urls.push_back(entry.url);
    }
    return urls;
}

bool FakeUrlCache::Fail(UrlCacheStatus status) {
    lastError_ = status;
    return false;
}

bool FakeUrlCache::Counted() {
    if (++calls_ <= kCallLimit) {
        return true;
    }
    if (calls_ == kCallLimit + 1) {
        faults.push_back("more calls than any run needs");
    }
    return false;
}

bool FakeUrlCache::Fetch(std::uint64_t* cursor, void* block, std::uint32_t* size) {
    ++fetchCalls;
    if (!Counted()) {
        return Fail(kCacheNotEnoughMemory);
    }
    if (breakAfter_) {
        if (breakAfter_->first == 0) {
            return Fail(breakAfter_->second);
        }
        --breakAfter_->first;
    }
    const auto next = entries_.lower_bound(*cursor);
    if (next == entries_.end()) {
        return Fail(kCacheNoMoreItems);
    }
    const Entry& entry = next->second;
    const auto needed =
        static_cast<std::uint32_t>(kRecordHeadSize + entry.url.size() + 1 + entry.extraBytes);
    if (*size < needed) {
        *size = misreport_.value_or(needed);
        return Fail(kCacheInsufficientBuffer);
    }
    const auto owned = blocks_.find(block);
    if (owned == blocks_.end() || owned->second.second < *size) {
        faults.push_back("fetch into a block smaller than the size given");
        return Fail(kCacheNotEnoughMemory);
    }
    auto* bytes = static_cast<unsigned char*>(block);
    std::memset(bytes, 0, needed);
    char* url = reinterpret_cast<char*>(bytes + kRecordHeadSize);
    std::memcpy(url, entry.url.c_str(), entry.url.size() + 1);
    const UrlCacheEntryHead head{kRecordHeadSize, url, nullptr, entry.type};
    std::memcpy(bytes, &head, sizeof head);
    *size = needed;
    *cursor = next->first + 1;
    lastError_ = kCacheSuccess;
    return true;
}

UrlCacheFind FakeUrlCache::FindFirst(const char* /*pattern*/, void* entry, std::uint32_t* size) {
    ++firstCalls;
    std::uint64_t cursor = 0;
    if (!Fetch(&cursor, entry, size)) {
        return 0;  // the platform keeps no handle for a failed first fetch
    }
    const UrlCacheFind find = nextFind_++;
    finds_[find] = cursor;
    return find;
}

bool FakeUrlCache::FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) {
    const auto open = finds_.find(find);
    if (open == finds_.end()) {
        ++fetchCalls;
        faults.push_back("fetch with an unknown handle");
        return Fail(kCacheInvalidHandle);
    }
    return Fetch(&open->second, entry, size);
}

bool FakeUrlCache::DeleteEntry(const char* url) {
    if (!Counted()) {
        return Fail(kCacheNotEnoughMemory);
    }
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->second.url == url) {
            if (refused_.count(url) != 0) {
                return Fail(kCacheAccessDenied);
            }
            deleted.push_back(url);
            entries_.erase(it);
            return true;
        }
    }
    return Fail(kCacheFileNotFound);
}

bool FakeUrlCache::FindClose(UrlCacheFind find) {
    if (finds_.erase(find) == 0) {
        faults.push_back("close of an unknown handle");
        return Fail(kCacheInvalidHandle);
    }
    return true;
}

void* FakeUrlCache::Allocate(std::size_t size) {
    allocations.push_back(size);
    if (!Counted() || (failAllocationsFrom_ != 0 && allocations.size() >= failAllocationsFrom_)) {
        lastError_ = kCacheNotEnoughMemory;
        return nullptr;
    }
    auto bytes = std::make_unique<unsigned char[]>(size == 0 ? 1 : size);
    std::memset(bytes.get(), 0xCD, size);  // fixed memory comes uninitialised
    void* block = bytes.get();
    blocks_.emplace(block, std::make_pair(std::move(bytes), size));
    return block;
}

void FakeUrlCache::Free(void* block) {
    if (blocks_.erase(block) == 0) {
        faults.push_back("free of a block not handed out");
    }
}
