// The cache cleaner's loop against the in-memory URL cache.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "cache/url_cache_cleaner.h"
#include "tests/support/fake_url_cache.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t kNormal = 0x00000001;  // NORMAL_CACHE_ENTRY
constexpr std::uint32_t kCookie = kCookieCacheEntry | kNormal;
constexpr std::uint32_t kHistory = 0x00200000;  // URLHISTORY_CACHE_ENTRY: not a cookie

class CleanerTest : public ::testing::Test {
  protected:
    // Nothing left open, nothing leaked, the contract kept.
    void ExpectTidy() const {
        EXPECT_EQ(cache.OpenFinds(), 0u);
        EXPECT_EQ(cache.LiveBlocks(), 0u);
        EXPECT_THAT(cache.faults, IsEmpty());
    }
    // Needs a record of exactly `record` bytes for a url of length `urlLength`.
    static std::size_t Extra(std::size_t record, std::size_t urlLength) {
        return record - FakeUrlCache::kRecordHeadSize - urlLength - 1;
    }

    FakeUrlCache cache;
};

TEST_F(CleanerTest, EmptyCacheEndsAfterTheFirstCall) {
    DeleteTemporaryFiles(cache);
    EXPECT_EQ(cache.fetchCalls, 1u);
    EXPECT_THAT(cache.allocations, ElementsAre(4096u));
    EXPECT_THAT(cache.deleted, IsEmpty());
    ExpectTidy();
}

TEST_F(CleanerTest, EachFilterDeletesItsKindAndLeavesTheOther) {
    const auto seed = [](FakeUrlCache& c) {
        c.Add("Cookie:user@a.example/", kCookie);
        c.Add("http://a.example/", kNormal);
        c.Add("http://b.example/x.png", kNormal);
        c.Add("Cookie:user@b.example/", kCookie);
        c.Add("Visited: user@http://a.example/", kHistory);
        c.Add("Cookie:user@c.example/", kCookie);
    };
    seed(cache);
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.Urls(), ElementsAre("Cookie:user@a.example/", "Cookie:user@b.example/",
                                          "Cookie:user@c.example/"));
    ExpectTidy();

    FakeUrlCache other;
    seed(other);
    DeleteCookies(other);
    EXPECT_THAT(other.Urls(), ElementsAre("http://a.example/", "http://b.example/x.png",
                                          "Visited: user@http://a.example/"));
    EXPECT_THAT(other.deleted, ElementsAre("Cookie:user@a.example/", "Cookie:user@b.example/",
                                           "Cookie:user@c.example/"));
    EXPECT_EQ(other.OpenFinds(), 0u);
    EXPECT_EQ(other.LiveBlocks(), 0u);
}

TEST_F(CleanerTest, OnlyTheCookieBitDecides) {
    cache.Add("http://a.example/", kCookieCacheEntry);  // a cookie whatever its name
    cache.Add("Cookie:user@b.example/", kNormal);       // not one, despite its name
    CleanUrlCache(cache, true, nullptr);
    EXPECT_THAT(cache.Urls(), ElementsAre("Cookie:user@b.example/"));
}

TEST_F(CleanerTest, LargeEntryIsFetchedAgainIntoOneLargerBlockThatIsKept) {
    cache.Add("http://a.example/", kNormal);
    cache.Add("http://big.example/", kNormal, Extra(9000, 19));
    cache.Add("http://b.example/", kNormal);
    cache.Add("http://mid.example/", kNormal, Extra(6000, 19));  // fits the larger block
    cache.Add("http://c.example/", kNormal);
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.Urls(), IsEmpty());
    EXPECT_THAT(cache.allocations, ElementsAre(4096u, 9000u));
    // Five entries, one refusal, and the end.
    EXPECT_EQ(cache.fetchCalls, 7u);
    ExpectTidy();
}

TEST_F(CleanerTest, BlockGrowsAgainOnlyForAnEntryLargerStill) {
    cache.Add("http://a.example/", kNormal, Extra(5000, 17));
    cache.Add("http://b.example/", kNormal, Extra(12000, 17));
    cache.Add("http://c.example/", kNormal, Extra(8000, 17));
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.Urls(), IsEmpty());
    EXPECT_THAT(cache.allocations, ElementsAre(4096u, 5000u, 12000u));
    // A first fetch refused for lack of space leaves no handle: it is repeated
    // as a first fetch.
    EXPECT_EQ(cache.firstCalls, 2u);
    ExpectTidy();
}

TEST_F(CleanerTest, EntryNeedingExactlyTheFirstBlockNeedsNoRetry) {
    cache.Add("http://a.example/", kNormal, Extra(4096, 17));
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.deleted, ElementsAre("http://a.example/"));
    EXPECT_THAT(cache.allocations, ElementsAre(4096u));
}

TEST_F(CleanerTest, LackOfSpaceThatAsksForNoMoreThanTheBlockEndsTheRun) {
    // 0, the size already held, and less: each would fetch the same refusal forever.
    for (const std::uint32_t reported : {0u, 4096u, 100u}) {
        SCOPED_TRACE(reported);
        FakeUrlCache c;
        c.Add("http://a.example/", kNormal);
        c.Add("http://big.example/", kNormal, 6000);
        c.Add("http://b.example/", kNormal);
        c.MisreportNeededSize(reported);
        DeleteTemporaryFiles(c);
        EXPECT_THAT(c.deleted, ElementsAre("http://a.example/"));
        EXPECT_THAT(c.allocations, ElementsAre(4096u));
        EXPECT_EQ(c.OpenFinds(), 0u);
        EXPECT_EQ(c.LiveBlocks(), 0u);
        EXPECT_THAT(c.faults, IsEmpty());
    }
}

TEST_F(CleanerTest, LackOfSpaceAskingForZeroOnTheFirstFetchEndsWithNothingOpen) {
    cache.Add("http://big.example/", kNormal, 6000);
    cache.MisreportNeededSize(0);
    DeleteTemporaryFiles(cache);
    EXPECT_EQ(cache.firstCalls, 1u);
    EXPECT_THAT(cache.deleted, IsEmpty());
    ExpectTidy();
}

TEST_F(CleanerTest, FailedFirstAllocationTouchesNothing) {
    cache.Add("http://a.example/", kNormal);
    cache.FailAllocationsFrom(1);
    DeleteTemporaryFiles(cache);
    EXPECT_EQ(cache.fetchCalls, 0u);
    EXPECT_THAT(cache.Urls(), ElementsAre("http://a.example/"));
    ExpectTidy();
}

TEST_F(CleanerTest, FailedLargerAllocationEndsTheRunWithTheHandleClosed) {
    cache.Add("http://a.example/", kNormal);
    cache.Add("http://big.example/", kNormal, 6000);
    cache.Add("http://b.example/", kNormal);
    cache.FailAllocationsFrom(2);
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.Urls(), ElementsAre("http://big.example/", "http://b.example/"));
    EXPECT_EQ(cache.allocations.size(), 2u);
    ExpectTidy();
}

TEST_F(CleanerTest, FailedDeletionIsSkipped) {
    cache.Add("http://a.example/", kNormal);
    cache.Add("http://locked.example/", kNormal);
    cache.Add("http://b.example/", kNormal);
    cache.RefuseDeletion("http://locked.example/");
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.Urls(), ElementsAre("http://locked.example/"));
    ExpectTidy();
}

TEST_F(CleanerTest, OtherEnumerationFailureEndsTheRunKeepingWhatWasDeleted) {
    cache.Add("http://a.example/", kNormal);
    cache.Add("http://b.example/", kNormal);
    cache.Add("http://c.example/", kNormal);
    cache.BreakEnumerationAfter(2, kCacheNotEnoughMemory);
    DeleteTemporaryFiles(cache);
    EXPECT_THAT(cache.Urls(), ElementsAre("http://c.example/"));
    EXPECT_EQ(cache.fetchCalls, 3u);
    ExpectTidy();
}

}  // namespace
