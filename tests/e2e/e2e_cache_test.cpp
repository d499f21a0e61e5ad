// The two delete buttons of the running program, against Wine's URL cache:
// the question the user sees, and what is left in the cache after each answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "texts/messages.h"
#include "resources/resource.h"
#include "tests/e2e/support/driver.h"
#include "tests/e2e/support/startup_values.h"
#include "tests/support/wine_url_cache.h"

namespace {

using wine_cache::OfKind;

class DeleteButtonsTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(wine_cache::Empty());
        const std::string longHeaders = wine_cache::LongHeaders(6000);
        ASSERT_TRUE(wine_cache::SeedPage("http://e2e-page1.example/") &&
                    wine_cache::SeedPage("http://e2e-page2.example/img.png") &&
                    wine_cache::SeedPage("http://e2e-large.example/", longHeaders) &&
                    wine_cache::SeedCookie("Cookie:user@e2e-one.example/") &&
                    wine_cache::SeedCookie("Cookie:user@e2e-large.example/", longHeaders));
        before = wine_cache::Read();
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

    std::vector<wine_cache::Entry> before;
    e2e::App app;
};

TEST_P(DeleteButtonsTest, NoChangesNothing) {
    ExpectTheQuestion(app.Click(GetParam(), IDNO));
    EXPECT_EQ(wine_cache::Read(), before);
}

TEST_P(DeleteButtonsTest, YesLeavesExactlyTheOtherKind) {
    const bool cookies = GetParam() == IDC_DELETE_COOKIES;
    ExpectTheQuestion(app.Click(GetParam(), IDYES));
    EXPECT_EQ(wine_cache::Read(), OfKind(before, !cookies));
}

INSTANTIATE_TEST_SUITE_P(Buttons, DeleteButtonsTest,
                         ::testing::Values(IDC_DELETE_TEMP_FILES, IDC_DELETE_COOKIES),
                         [](const auto& info) {
                             return std::string(
                                 info.param == IDC_DELETE_COOKIES ? "Cookies" : "TemporaryFiles");
                         });

}  // namespace
