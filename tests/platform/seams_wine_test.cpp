// What the core relies on of each seam, against Wine's registry, URL cache and
// files, where the scenarios under Wine do not show it already.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "cache/url_cache_seam.h"
#include "store/file_seam.h"
#include "store/registry_access.h"
#include "tests/support/wine_machine.h"

namespace {

// The programs' keys are there on every system; one that is not is created
// by the first write.
TEST(RegistrySeam, AWriteCreatesMissingKeys) {
    const char* key = "Software\\QeltrinTests\\Missing\\Key";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests");
    ASSERT_TRUE(TheRegistry().WriteDword(kHkeyCurrentUser, key, "d", 0x30000));
    std::uint32_t value = 0;
    EXPECT_EQ(TheRegistry().ReadDword(kHkeyCurrentUser, key, "d", &value), ReadOutcome::kRead);
    EXPECT_EQ(value, 0x30000u);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests");
}

// Wine lists the cookies without a pattern too, so the scenarios would pass
// whatever pattern the cookie button gave.
TEST(UrlCacheSeam, TheCookiePatternListsCookiesOnlyAndALackOfSpaceDoesNotMoveOn) {
    WineMachine machine;
    machine.Clean();
    for (const std::string url :
         {"http://a.example/", "Cookie:u@a.example/", "Cookie:u@b.example/"}) {
        machine.AddCacheEntry({url, url[0] == 'C'});
    }
    UrlCacheSeam& cache = TheUrlCache();
    UrlCacheFind find = 0;
    const auto fetch = [&cache, &find](std::vector<char>& block, std::uint32_t& size) {
        if (find != 0) {
            return cache.FindNext(find, block.data(), &size);
        }
        find = cache.FindFirst("Cookie:", block.data(), &size);
        return find != 0;
    };
    // The next URL, fetched into 64 bytes, less than any record takes, and
    // then into a block of the size asked for; "" at the end.
    const auto next = [&cache, &fetch]() -> std::string {
        std::vector<char> block(64);
        std::uint32_t size = block.size();
        if (fetch(block, size)) {
            return "a record in 64 bytes";
        }
        if (cache.LastError() != kCacheInsufficientBuffer) {
            return "";
        }
        block.resize(size);
        if (!fetch(block, size)) {
            return "refused again";
        }
        return reinterpret_cast<UrlCacheEntryHead*>(block.data())->sourceUrlName;
    };
    EXPECT_EQ(std::set<std::string>({next(), next()}),
              (std::set<std::string>{"Cookie:u@a.example/", "Cookie:u@b.example/"}));
    EXPECT_EQ(next(), "");
    EXPECT_EQ(cache.LastError(), kCacheNoMoreItems);
    EXPECT_TRUE(cache.FindClose(find));
    machine.Clean();
}

// A pipe under the list's name could hold the start-up as long as it liked.
TEST(FileSeam, ReadsBoundedBytesOfDiskFilesOnly) {
    const std::string bytes("a:1\r\n\x1A\0b\n", 9);
    std::ofstream("seam-test.pxy", std::ios::binary) << bytes;
    std::string read;
    EXPECT_TRUE(TheFiles().ReadBytes("seam-test.pxy", 1024, &read));
    EXPECT_EQ(read, bytes);  // no text-mode translation
    EXPECT_TRUE(TheFiles().ReadBytes("seam-test.pxy", 3, &read));
    EXPECT_EQ(read, "a:1");
    std::remove("seam-test.pxy");
    const char* pipe = "\\\\.\\pipe\\qeltrin-seam-test";
    const HANDLE server = CreateNamedPipeA(pipe, PIPE_ACCESS_DUPLEX, 0, 1, 64, 64, 0, nullptr);
    EXPECT_FALSE(TheFiles().ReadBytes(pipe, 1024, &read));
    CloseHandle(server);
}

}  // namespace
