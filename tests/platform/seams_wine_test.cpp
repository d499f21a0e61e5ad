// What the core relies on of each seam, against Wine's registry, URL cache
// and files.
#include <windows.h>

#include <gtest/gtest.h>

#include "cache/url_cache_seam.h"
#include "proxy/file_seam.h"
#include "store/registry_access.h"
#include "tests/support/wine_machine.h"
#include "tests/support/wine_url_cache.h"

namespace {

using scenario::Root;

constexpr char kScratch[] = "Software\\QeltrinTests\\Missing\\Key";

class RegistrySeam : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.Clean();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests");
    }
    WineMachine machine;
    CRegistryAccess& registry = TheRegistry();
    std::string text;
    std::uint32_t value = 0;
};

TEST_F(RegistrySeam, WritesCreateMissingKeysAndStoreTypeAndBytes) {
    ASSERT_TRUE(registry.WriteDword(kHkeyCurrentUser, kScratch, "d", 0x30000));
    ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kScratch, "s", "a:1"));
    EXPECT_EQ(machine.Value(Root::kCurrentUser, kScratch, "d"),
              (scenario::RegValue{REG_DWORD, {0, 0, 3, 0}}));
    EXPECT_EQ(machine.Value(Root::kCurrentUser, kScratch, "s"),
              (scenario::RegValue{REG_SZ, {'a', ':', '1', 0}}));
}

// The platform refuses a text that does not fit and tells the size it needs.
TEST_F(RegistrySeam, TextOf259BytesFits260AndOf260DoesNot) {
    for (const std::size_t length : {259, 260}) {
        const std::string stored(length, 'x');
        ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kScratch, "s", stored));
        EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, kScratch, "s", &text, 260),
                  length == 259 ? ReadOutcome::kRead : ReadOutcome::kUnreadable);
        EXPECT_EQ(text, length == 259 ? stored : "");
    }
}

TEST_F(RegistrySeam, MissingIsToldFromUnreadable) {
    EXPECT_EQ(registry.ReadDword(kHkeyCurrentUser, kScratch, "d", &value), ReadOutcome::kMissing);
    ASSERT_TRUE(registry.WriteDword(kHkeyCurrentUser, kScratch, "d", 3));
    EXPECT_EQ(registry.ReadDword(kHkeyCurrentUser, kScratch, "none", &value),
              ReadOutcome::kMissing);
    machine.MakeReadOnly(Root::kCurrentUser, kScratch);
    EXPECT_EQ(registry.ReadDword(kHkeyCurrentUser, kScratch, "d", &value),
              ReadOutcome::kUnreadable);
    EXPECT_FALSE(registry.WriteDword(kHkeyCurrentUser, kScratch, "d", 1));
    // Policies are only ever read, so a key the user may not change reads.
    EXPECT_EQ(registry.ReadDword(kHkeyCurrentUser, kScratch, "d", &value, kKeyRead),
              ReadOutcome::kRead);
    EXPECT_EQ(value, 3u);
    machine.Clean();  // and writable again for the next run
}

class UrlCacheSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(wine_cache::Empty());
        ASSERT_TRUE(wine_cache::Seed("http://a.example/", false) &&
                    wine_cache::Seed("http://large.example/", false, 6000) &&
                    wine_cache::Seed("Cookie:u@a.example/", true) &&
                    wine_cache::Seed("Cookie:u@large.example/", true, 6000));
    }
    // Enumerates with blocks of `size` bytes; when one is refused for lack of
    // space, fetches again into a block of the size the refusal asked for.
    std::vector<std::string> List(const char* pattern, std::uint32_t size, bool deleting = false) {
        std::vector<std::string> urls;
        UrlCacheFind find = 0;
        for (bool more = true; more;) {
            std::vector<char> block(size);
            std::uint32_t asked = size;
            const bool fetched = find == 0 ? (find = cache.FindFirst(pattern, block.data(), &asked)) != 0
                                           : cache.FindNext(find, block.data(), &asked);
            if (fetched) {
                urls.push_back(reinterpret_cast<UrlCacheEntryHead*>(block.data())->sourceUrlName);
                EXPECT_TRUE(!deleting || cache.DeleteEntry(urls.back().c_str()));
            } else if ((more = cache.LastError() == kCacheInsufficientBuffer)) {
                EXPECT_GT(asked, size);
                refusals += 1;
                size = asked;
            } else {
                EXPECT_EQ(cache.LastError(), kCacheNoMoreItems);
            }
        }
        EXPECT_TRUE(find == 0 || cache.FindClose(find));
        return urls;
    }
    UrlCacheSeam& cache = TheUrlCache();
    int refusals = 0;
};

TEST_F(UrlCacheSeamTest, CookiePatternListsTheCookiesAndNoPatternWhatWineLists) {
    EXPECT_EQ(List("Cookie:", 1 << 16),
              (std::vector<std::string>{"Cookie:u@a.example/", "Cookie:u@large.example/"}));
    std::vector<std::string> all;
    for (const wine_cache::Entry& entry : wine_cache::Read()) {
        all.push_back(entry.url);
    }
    EXPECT_EQ(all.size(), 4u);  // Wine lists the cookies too; Windows would not
    EXPECT_EQ(List(nullptr, 1 << 16), all);
}

// A refused fetch must not move on: the entry comes again into the larger block.
TEST_F(UrlCacheSeamTest, LackOfSpaceTellsTheSizeNeededWithoutMovingOn) {
    const std::vector<std::string> all = List(nullptr, 1 << 16);
    EXPECT_EQ(refusals, 0);
    EXPECT_EQ(List(nullptr, 64), all);
    EXPECT_EQ(refusals, 2);  // the first entry, then the first large one
}

TEST_F(UrlCacheSeamTest, EntriesDeletedDuringTheEnumerationDoNotStopIt) {
    EXPECT_EQ(List(nullptr, 1 << 16, true).size(), 4u);
    EXPECT_TRUE(wine_cache::Read().empty());
}

TEST(FileSeam, CurrentDirectoryAndBoundedBytesOfDiskFilesOnly) {
    char directory[MAX_PATH] = {};
    const std::uint32_t length = TheFiles().CurrentDirectory(directory, MAX_PATH);
    EXPECT_EQ(length, GetCurrentDirectoryA(0, nullptr) - 1);
    EXPECT_EQ(TheFiles().CurrentDirectory(directory, 2), length + 1);  // the size it needs

    const std::string path = "qeltrin-seam-test.pxy";
    const std::string bytes("a:1\r\n\x1A\0b\n", 9);
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::string read;
    EXPECT_TRUE(TheFiles().ReadBytes(path.c_str(), 1024, &read));
    EXPECT_EQ(read, bytes);  // no text-mode translation
    EXPECT_TRUE(TheFiles().ReadBytes(path.c_str(), 3, &read));
    EXPECT_EQ(read, "a:1");
    std::remove(path.c_str());
    EXPECT_FALSE(TheFiles().ReadBytes(path.c_str(), 1024, &read));

    // A pipe under the list's name could hold the start-up as long as it liked.
    const char* pipe = "\\\\.\\pipe\\qeltrin-seam-test";
    const HANDLE server = CreateNamedPipeA(pipe, PIPE_ACCESS_DUPLEX, 0, 1, 64, 64, 0, nullptr);
    EXPECT_FALSE(TheFiles().ReadBytes(pipe, 1024, &read));
    CloseHandle(server);
}

}  // namespace
