// What the core relies on of each seam, against Wine's registry, URL cache and
// files, where the dialog's scenarios under Wine do not show it already.
#include <windows.h>

#include <gtest/gtest.h>

#include "cache/url_cache_seam.h"
#include "proxy/file_seam.h"
#include "store/registry_access.h"
#include "tests/support/wine_machine.h"

namespace {

TEST(RegistrySeam, WritesCreateMissingKeysAndAReadOnlyKeyReadsOnlyForReading) {
    const char* key = "Software\\QeltrinTests\\Missing\\Key";
    WineMachine machine;
    std::uint32_t value = 0;
    ASSERT_TRUE(TheRegistry().WriteDword(kHkeyCurrentUser, key, "d", 0x30000));
    machine.MakeReadOnly(scenario::Root::kCurrentUser, key);
    EXPECT_EQ(machine.Value(scenario::Root::kCurrentUser, key, "d"),
              (scenario::RegValue{REG_DWORD, {0, 0, 3, 0}}));
    // The settings are opened with full access; policies, only ever read, not.
    EXPECT_EQ(TheRegistry().ReadDword(kHkeyCurrentUser, key, "d", &value),
              ReadOutcome::kUnreadable);
    EXPECT_EQ(TheRegistry().ReadDword(kHkeyCurrentUser, key, "d", &value, kKeyRead),
              ReadOutcome::kRead);
    EXPECT_EQ(value, 0x30000u);
    machine.Clean();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests");
}

class UrlCacheSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.Clean();
        for (const std::string url : {"http://a.example/", "Cookie:u@a.example/"}) {
            machine.AddCacheEntry({url, url[0] == 'C'});
            machine.AddCacheEntry({url + "large", url[0] == 'C'}, 6000);
        }
    }
    // A refusal for lack of space is met with a block of the size it asks for,
    // and the same fetch again.
    std::vector<std::string> List(const char* pattern, std::uint32_t size) {
        std::vector<std::string> urls;
        UrlCacheFind find = 0;
        for (;;) {
            std::vector<char> block(size);
            std::uint32_t asked = size;
            if (find ? cache.FindNext(find, block.data(), &asked)
                     : (find = cache.FindFirst(pattern, block.data(), &asked)) != 0) {
                urls.push_back(reinterpret_cast<UrlCacheEntryHead*>(block.data())->sourceUrlName);
            } else if (cache.LastError() == kCacheInsufficientBuffer && asked > size) {
                size = asked;
                ++refusals;
            } else {
                EXPECT_EQ(cache.LastError(), kCacheNoMoreItems);
                EXPECT_TRUE(find == 0 || cache.FindClose(find));
                return urls;
            }
        }
    }
    WineMachine machine;
    UrlCacheSeam& cache = TheUrlCache();
    int refusals = 0;
};

// Wine lists the cookies without a pattern too, so the dialog's scenarios
// would pass whatever pattern the cookie button gave.
TEST_F(UrlCacheSeamTest, CookiePatternListsTheCookiesOnly) {
    EXPECT_EQ(List("Cookie:", 1 << 16),
              (std::vector<std::string>{"Cookie:u@a.example/", "Cookie:u@a.example/large"}));
    EXPECT_EQ(List(nullptr, 1 << 16).size(), 4u);
}

TEST_F(UrlCacheSeamTest, LackOfSpaceTellsTheSizeNeededWithoutMovingOn) {
    EXPECT_EQ(List(nullptr, 64), List(nullptr, 1 << 16));
    EXPECT_GE(refusals, 2);  // the first fetch, and one of a large entry
}

TEST(FileSeam, CurrentDirectoryAndBoundedBytesOfDiskFilesOnly) {
    char directory[2];
    EXPECT_EQ(TheFiles().CurrentDirectory(directory, 2), GetCurrentDirectoryA(0, nullptr));
    const std::string bytes("a:1\r\n\x1A\0b\n", 9);
    FILE* file = std::fopen("seam-test.pxy", "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::string read;
    EXPECT_TRUE(TheFiles().ReadBytes("seam-test.pxy", 1024, &read));
    EXPECT_EQ(read, bytes);  // no text-mode translation
    EXPECT_TRUE(TheFiles().ReadBytes("seam-test.pxy", 3, &read));
    EXPECT_EQ(read, "a:1");
    std::remove("seam-test.pxy");
    // A pipe under the list's name could hold the start-up as long as it liked.
    const char* pipe = "\\\\.\\pipe\\qeltrin-seam-test";
    const HANDLE server = CreateNamedPipeA(pipe, PIPE_ACCESS_DUPLEX, 0, 1, 64, 64, 0, nullptr);
    EXPECT_FALSE(TheFiles().ReadBytes(pipe, 1024, &read));
    CloseHandle(server);
}

}  // namespace
