// What the core relies on of each seam, against Wine's registry, URL cache and
// files, where the scenarios under Wine do not show it already.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "cache/url_cache_seam.h"
#include "store/file_seam.h"
#include "tests/support/wine.h"

namespace {

// What the in-memory URL cache promises of the platform's: "Cookie:" lists
// the cookies only (Wine lists them without a pattern too, so the scenarios
// would pass whatever pattern the cookie button gave), and a lack of space
// reports the size needed without moving on.
TEST(UrlCacheSeam, TheCookiePatternListsCookiesOnlyAndALackOfSpaceDoesNotMoveOn) {
    WineMachine machine;
    machine.Clean();
    for (const std::string url :
         {"http://a.example/", "Cookie:u@a.example/", "Cookie:u@b.example/"}) {
        machine.AddCacheEntry({url, url[0] == 'C'});
    }
    UrlCacheSeam& cache = TheUrlCache();
    UrlCacheFind find = 0;
    std::set<std::string> listed;
    for (;;) {
        std::vector<char> block(64);  // less than any record takes
        std::uint32_t size = block.size();
        const auto fetch = [&] {
            if (find != 0) {
                return cache.FindNext(find, block.data(), &size);
            }
            return (find = cache.FindFirst("Cookie:", block.data(), &size)) != 0;
        };
        ASSERT_FALSE(fetch());
        if (cache.LastError() != kCacheInsufficientBuffer) {
            break;
        }
        block.resize(size);
        ASSERT_TRUE(fetch());
        listed.insert(reinterpret_cast<UrlCacheEntryHead*>(block.data())->sourceUrlName);
    }
    EXPECT_EQ(cache.LastError(), kCacheNoMoreItems);
    EXPECT_EQ(listed, (std::set<std::string>{"Cookie:u@a.example/", "Cookie:u@b.example/"}));
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
