// The cleaner over wininet, against Wine's real URL cache in the test prefix.
// Each test starts from an emptied cache, seeds its own entries, and compares
// the whole enumeration before and after.
#include <windows.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "cache/url_cache_cleaner.h"
#include "cache/win32_url_cache.h"
#include "tests/support/wine_url_cache.h"

namespace {

using ::testing::ElementsAreArray;
using wine_cache::OfKind;

// Passes every call on to the real cache and notes what the cleaner asked for.
class WatchedCache final : public UrlCacheSeam {
  public:
    explicit WatchedCache(UrlCacheSeam& real) : real_(real) {}
    UrlCacheFind FindFirst(void* entry, std::uint32_t* size) override {
        const UrlCacheFind find = real_.FindFirst(entry, size);
        opened += find != 0 ? 1 : 0;
        return find;
    }
    bool FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) override {
        return real_.FindNext(find, entry, size);
    }
    bool DeleteEntry(const char* url) override { return real_.DeleteEntry(url); }
    bool FindClose(UrlCacheFind find) override {
        ++closed;
        return real_.FindClose(find);
    }
    UrlCacheStatus LastError() override { return real_.LastError(); }
    void* Allocate(std::size_t size) override {
        allocations.push_back(size);
        ++liveBlocks;
        return real_.Allocate(size);
    }
    void Free(void* block) override {
        --liveBlocks;
        real_.Free(block);
    }

    std::vector<std::size_t> allocations;
    int liveBlocks = 0;
    int opened = 0;
    int closed = 0;

  private:
    UrlCacheSeam& real_;
};

class WineUrlCacheTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(wine_cache::Empty()) << "the cache could not be emptied"; }

    void SeedMix() {
        bool seeded = true;
        for (int i = 0; i < 12; ++i) {
            seeded &= wine_cache::SeedPage("http://page" + std::to_string(i) + ".example/x.html");
        }
        seeded &= wine_cache::SeedPage("http://large.example/", wine_cache::LongHeaders(6000));
        for (int i = 0; i < 5; ++i) {
            seeded &= wine_cache::SeedCookie("Cookie:user@host" + std::to_string(i) + ".example/");
        }
        seeded &=
            wine_cache::SeedCookie("Cookie:user@large.example/", wine_cache::LongHeaders(9000));
        ASSERT_TRUE(seeded);
        before = wine_cache::Read();
        ASSERT_EQ(before.size(), 19u);
        ASSERT_EQ(OfKind(before, true).size(), 6u);
        for (const wine_cache::Entry& entry : before) {
            if (entry.url.find("large") != std::string::npos) {
                ASSERT_GT(entry.recordSize, kFirstEntryBlockSize) << entry.url;
            }
        }
    }

    // The block starts at 4096, only ever grows, and the handle is closed.
    void ExpectOneGrowingBlockAndNothingOpen() const {
        ASSERT_FALSE(watched.allocations.empty());
        EXPECT_EQ(watched.allocations.front(), kFirstEntryBlockSize);
        EXPECT_TRUE(std::is_sorted(watched.allocations.begin(), watched.allocations.end()));
        EXPECT_EQ(
            std::set<std::size_t>(watched.allocations.begin(), watched.allocations.end()).size(),
            watched.allocations.size());
        EXPECT_EQ(watched.liveBlocks, 0);
        EXPECT_EQ(watched.opened, watched.closed);
    }

    std::vector<wine_cache::Entry> before;
    WatchedCache watched{TheUrlCache()};
};

TEST_F(WineUrlCacheTest, DeleteTemporaryFilesLeavesExactlyTheCookies) {
    SeedMix();
    EXPECT_EQ(DeleteTemporaryFiles(watched), 1);
    EXPECT_THAT(wine_cache::Read(), ElementsAreArray(OfKind(before, true)));
    ExpectOneGrowingBlockAndNothingOpen();
    EXPECT_GE(watched.allocations.size(), 2u);  // the large entries were met

    // A second run finds nothing more of its kind.
    EXPECT_EQ(DeleteTemporaryFiles(watched), 1);
    EXPECT_THAT(wine_cache::Read(), ElementsAreArray(OfKind(before, true)));
}

TEST_F(WineUrlCacheTest, DeleteCookiesLeavesExactlyTheOthers) {
    SeedMix();
    EXPECT_EQ(DeleteCookies(watched), 1);
    EXPECT_THAT(wine_cache::Read(), ElementsAreArray(OfKind(before, false)));
    ExpectOneGrowingBlockAndNothingOpen();
}

TEST_F(WineUrlCacheTest, EmptyCacheEndsAfterTheFirstCallWithNothingOpened) {
    EXPECT_EQ(DeleteTemporaryFiles(watched), 1);
    EXPECT_EQ(watched.allocations.size(), 1u);
    EXPECT_EQ(watched.opened, 0);
    EXPECT_EQ(watched.closed, 0);
    EXPECT_EQ(watched.liveBlocks, 0);
}

TEST_F(WineUrlCacheTest, LibraryThatCannotBeLoadedActsAsAnEmptyCache) {
    SeedMix();
    Win32UrlCache missing(L"qeltrin-no-such-library.dll");
    EXPECT_EQ(DeleteTemporaryFiles(missing), 1);
    EXPECT_EQ(DeleteCookies(missing), 1);
    EXPECT_THAT(wine_cache::Read(), ElementsAreArray(before));
}

TEST_F(WineUrlCacheTest, CopyPlantedBesideTheExecutableIsNeverLoaded) {
    SeedMix();
    wchar_t system[MAX_PATH] = {};
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring planted(exe);
    planted.resize(planted.find_last_of(L'\\') + 1);
    planted += L"qeltrin-planted.dll";
    ASSERT_TRUE(
        CopyFileW((std::wstring(system) + L"\\wininet.dll").c_str(), planted.c_str(), FALSE));
    // The ordinary search order would find it.
    wchar_t found[MAX_PATH] = {};
    EXPECT_GT(SearchPathW(nullptr, L"qeltrin-planted.dll", nullptr, MAX_PATH, found, nullptr), 0u);

    Win32UrlCache cache(L"qeltrin-planted.dll");
    DeleteTemporaryFiles(cache);
    EXPECT_EQ(GetModuleHandleW(L"qeltrin-planted.dll"), nullptr);
    EXPECT_THAT(wine_cache::Read(), ElementsAreArray(before));
    DeleteFileW(planted.c_str());
}

}  // namespace
