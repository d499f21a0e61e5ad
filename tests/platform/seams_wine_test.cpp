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

constexpr char kKey[] = "Software\\QeltrinTests\\Missing\\Key";

class RegistrySeam : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests"); }
    void TearDown() override {
        machine.Clean();  // writable again
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests");
    }
    ReadOutcome Read(std::uint32_t access = kKeyAllAccess) {
        return registry.ReadDword(kHkeyCurrentUser, kKey, "d", &value, access);
    }
    WineMachine machine;
    CRegistryAccess& registry = TheRegistry();
    std::uint32_t value = 0;
};

TEST_F(RegistrySeam, WritesCreateMissingKeysAndStoreTypeAndBytes) {
    ASSERT_TRUE(registry.WriteDword(kHkeyCurrentUser, kKey, "d", 0x30000));
    ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kKey, "s", "a:1"));
    EXPECT_EQ(machine.Value(scenario::Root::kCurrentUser, kKey, "d"),
              (scenario::RegValue{REG_DWORD, {0, 0, 3, 0}}));
    EXPECT_EQ(machine.Value(scenario::Root::kCurrentUser, kKey, "s"),
              (scenario::RegValue{REG_SZ, {'a', ':', '1', 0}}));
}

// A text that does not fit is refused with the size it needs, to grow to.
TEST_F(RegistrySeam, TextOf259BytesFits260AndOf260DoesNot) {
    std::string text;
    for (const std::size_t length : {259, 260}) {
        ASSERT_TRUE(registry.WriteString(kHkeyCurrentUser, kKey, "s", std::string(length, 'x')));
        EXPECT_EQ(registry.ReadString(kHkeyCurrentUser, kKey, "s", &text, 260),
                  length == 259 ? ReadOutcome::kRead : ReadOutcome::kUnreadable);
        EXPECT_EQ(text.size(), length == 259 ? 259u : 0u);
    }
}

TEST_F(RegistrySeam, MissingIsToldFromUnreadableAndAReadOnlyKeyReadsOnlyForReading) {
    EXPECT_EQ(Read(), ReadOutcome::kMissing);  // no key
    ASSERT_TRUE(registry.WriteDword(kHkeyCurrentUser, kKey, "e", 3));
    EXPECT_EQ(Read(), ReadOutcome::kMissing);  // no value
    ASSERT_TRUE(registry.WriteDword(kHkeyCurrentUser, kKey, "d", 3));
    machine.MakeReadOnly(scenario::Root::kCurrentUser, kKey);
    EXPECT_EQ(Read(), ReadOutcome::kUnreadable);  // the settings are opened with full access
    EXPECT_FALSE(registry.WriteDword(kHkeyCurrentUser, kKey, "d", 1));
    EXPECT_EQ(Read(kKeyRead), ReadOutcome::kRead);  // as the policies are
    EXPECT_EQ(value, 3u);
}

class UrlCacheSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(wine_cache::Empty());
        for (const char* url : {"http://a.example/", "Cookie:u@a.example/"}) {
            ASSERT_TRUE(wine_cache::Seed(url, url[0] == 'C'));
            ASSERT_TRUE(wine_cache::Seed(url + std::string("large"), url[0] == 'C', 6000));
        }
    }
    // Each refusal for lack of space is met with a block of the size it asks
    // for, and the same fetch again.
    std::vector<std::string> List(const char* pattern, std::uint32_t size, bool deleting = false) {
        std::vector<std::string> urls;
        UrlCacheFind find = 0;
        for (;;) {
            std::vector<char> block(size);
            std::uint32_t asked = size;
            if (find ? cache.FindNext(find, block.data(), &asked)
                     : (find = cache.FindFirst(pattern, block.data(), &asked)) != 0) {
                urls.push_back(reinterpret_cast<UrlCacheEntryHead*>(block.data())->sourceUrlName);
                EXPECT_TRUE(!deleting || cache.DeleteEntry(urls.back().c_str()));
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
    UrlCacheSeam& cache = TheUrlCache();
    int refusals = 0;
};

TEST_F(UrlCacheSeamTest, CookiePatternListsTheCookiesAndNoPatternWhatWineLists) {
    EXPECT_EQ(List("Cookie:", 1 << 16),
              (std::vector<std::string>{"Cookie:u@a.example/", "Cookie:u@a.example/large"}));
    std::vector<std::string> all;
    for (const wine_cache::Entry& entry : wine_cache::Read()) {
        all.push_back(entry.url);
    }
    EXPECT_EQ(all.size(), 4u);  // Wine lists the cookies too; Windows would not
    EXPECT_EQ(List(nullptr, 1 << 16), all);
}

TEST_F(UrlCacheSeamTest, LackOfSpaceTellsTheSizeNeededWithoutMovingOn) {
    EXPECT_EQ(List(nullptr, 64), List(nullptr, 1 << 16));
    EXPECT_GE(refusals, 2);  // the first fetch, and one of a large entry
}

TEST_F(UrlCacheSeamTest, EntriesDeletedDuringTheEnumerationDoNotStopIt) {
    EXPECT_EQ(List(nullptr, 1 << 16, true).size(), 4u);
    EXPECT_TRUE(wine_cache::Read().empty());
}

TEST(FileSeam, CurrentDirectoryAndBoundedBytesOfDiskFilesOnly) {
    char directory[MAX_PATH];
    const std::uint32_t length = TheFiles().CurrentDirectory(directory, MAX_PATH);
    EXPECT_EQ(length, GetCurrentDirectoryA(0, nullptr) - 1);
    EXPECT_EQ(TheFiles().CurrentDirectory(directory, 2), length + 1);  // the size it needs

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
    EXPECT_FALSE(TheFiles().ReadBytes("seam-test.pxy", 1024, &read));

    // A pipe under the list's name could hold the start-up as long as it liked.
    const char* pipe = "\\\\.\\pipe\\qeltrin-seam-test";
    const HANDLE server = CreateNamedPipeA(pipe, PIPE_ACCESS_DUPLEX, 0, 1, 64, 64, 0, nullptr);
    EXPECT_FALSE(TheFiles().ReadBytes(pipe, 1024, &read));
    CloseHandle(server);
}

}  // namespace
