// The two delete buttons of the running program, against Wine's URL cache:
// the question the user sees, and what is left in the cache after each answer.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/messages.h"
#include "resources/resource.h"
#include "tests/e2e/support/driver.h"
#include "tests/e2e/support/startup_values.h"

namespace {

struct CachedUrl {
    std::string url;
    bool cookie;
    bool operator<(const CachedUrl& other) const { return url < other.url; }
    bool operator==(const CachedUrl& other) const {
        return url == other.url && cookie == other.cookie;
    }
};

std::ostream& operator<<(std::ostream& out, const CachedUrl& entry) {
    return out << entry.url << (entry.cookie ? " (cookie)" : "");
}

std::vector<CachedUrl> CacheContents() {
    std::vector<CachedUrl> entries;
    std::vector<unsigned char> block(1 << 16);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = static_cast<DWORD>(block.size());
    HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
    if (find == nullptr) {
        return entries;
    }
    do {
        entries.push_back(
            {info->lpszSourceUrlName, (info->CacheEntryType & COOKIE_CACHE_ENTRY) != 0});
        size = static_cast<DWORD>(block.size());
    } while (FindNextUrlCacheEntryA(find, info, &size));
    FindCloseUrlCache(find);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<CachedUrl> Only(const std::vector<CachedUrl>& entries, bool cookies) {
    std::vector<CachedUrl> kind;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(kind),
                 [cookies](const CachedUrl& entry) { return entry.cookie == cookies; });
    return kind;
}

bool Commit(const std::string& url, const char* file, DWORD type, const std::string& headers) {
    const FILETIME never{};
    return CommitUrlCacheEntryA(url.c_str(), file, never, never, type,
                                reinterpret_cast<BYTE*>(const_cast<char*>(headers.data())),
                                static_cast<DWORD>(headers.size()), nullptr, nullptr) != FALSE;
}

bool SeedPage(const std::string& url, const std::string& headers = {}) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) {
        return false;
    }
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    WriteFile(handle, "<html></html>", 13, &written, nullptr);
    CloseHandle(handle);
    return Commit(url, file, NORMAL_CACHE_ENTRY, headers);
}

class DeleteButtonsTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        for (const CachedUrl& entry : CacheContents()) {
            DeleteUrlCacheEntryA(entry.url.c_str());
        }
        const std::string longHeaders = "X-Padding: " + std::string(6000, 'p') + "\r\n\r\n";
        bool seeded = SeedPage("http://e2e-page1.example/") &&
                      SeedPage("http://e2e-page2.example/img.png") &&
                      SeedPage("http://e2e-large.example/", longHeaders);
        seeded = seeded &&
                 Commit("Cookie:user@e2e-one.example/", nullptr, COOKIE_CACHE_ENTRY, "") &&
                 Commit("Cookie:user@e2e-large.example/", nullptr, COOKIE_CACHE_ENTRY, longHeaders);
        ASSERT_TRUE(seeded);
        before = CacheContents();
        ASSERT_EQ(before.size(), 5u);
        ASSERT_TRUE(e2e::StoreReadableStartupValues());
        ASSERT_TRUE(app.Start());
        const e2e::Outcome started = app.Settle();
        ASSERT_TRUE(started.settled) << started;
    }
    void TearDown() override {
        app.PressKey(VK_ESCAPE);
        EXPECT_TRUE(app.WaitForExit());
    }
    static void ExpectTheQuestion(const e2e::Outcome& clicked) {
        ASSERT_TRUE(clicked.settled) << clicked;
        ASSERT_EQ(clicked.boxes.size(), 1u) << clicked;  // nothing is shown afterwards
        const e2e::MessageBoxInfo& box = clicked.boxes[0];
        EXPECT_EQ(box.text, kMsgConfirmDelete);
        EXPECT_EQ(box.caption, "Vormet");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_TRUE(box.icon);
        EXPECT_TRUE(box.ownerVisible);
    }

    std::vector<CachedUrl> before;
    e2e::App app;
};

TEST_P(DeleteButtonsTest, NoChangesNothing) {
    ExpectTheQuestion(app.Click(GetParam(), IDNO));
    EXPECT_EQ(CacheContents(), before);
}

TEST_P(DeleteButtonsTest, YesLeavesExactlyTheOtherKind) {
    const bool cookies = GetParam() == IDC_DELETE_COOKIES;
    ExpectTheQuestion(app.Click(GetParam(), IDYES));
    EXPECT_EQ(CacheContents(), Only(before, !cookies));
}

INSTANTIATE_TEST_SUITE_P(Buttons, DeleteButtonsTest,
                         ::testing::Values(IDC_DELETE_TEMP_FILES, IDC_DELETE_COOKIES),
                         [](const auto& info) {
                             return std::string(
                                 info.param == IDC_DELETE_COOKIES ? "Cookies" : "TemporaryFiles");
                         });

}  // namespace
