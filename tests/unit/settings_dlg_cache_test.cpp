// The two delete buttons of the main dialog: one question, then the cleaner.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "texts/messages.h"
#include "app/settings_dlg.h"
#include "resources/resource.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_url_cache.h"
#include "tests/support/sim_window.h"

namespace {

using ::testing::IsEmpty;

constexpr std::uint32_t kNormal = 0x00000001;

struct ButtonCase {
    const char* name;
    int id;
    std::vector<std::string> leftOnYes;
};

const ButtonCase kButtons[] = {
    {"TemporaryFiles", IDC_DELETE_TEMP_FILES, {"Cookie:user@a.example/", "Cookie:user@b.example/"}},
    {"Cookies", IDC_DELETE_COOKIES, {"http://a.example/", "http://big.example/"}},
};

class DeleteButtonTest : public ::testing::TestWithParam<ButtonCase> {
  protected:
    void SetUp() override {
        cache.Add("http://a.example/", kNormal);
        cache.Add("Cookie:user@a.example/", kCookieCacheEntry | kNormal);
        cache.Add("http://big.example/", kNormal, 10000);
        cache.Add("Cookie:user@b.example/", kCookieCacheEntry | kNormal);
    }
    // Opens the dialog and forgets what its start-up showed.
    void Open(FakeUrlCache* seam) {
        dialog.emplace(SettingsServices{registry, files, *seam});
        window.Open(*dialog);
        boxesAtOpen = window.Boxes().size();
    }
    std::vector<SimWindow::Box> NewBoxes() const {
        return {window.Boxes().begin() + static_cast<std::ptrdiff_t>(boxesAtOpen),
                window.Boxes().end()};
    }
    void ExpectOneQuestion() const {
        const auto boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, kMsgConfirmDelete);
        EXPECT_EQ(boxes[0].caption, "Vormet");
        EXPECT_EQ(boxes[0].type, kMbYesNo | kMbIconExclamation);
    }

    FakeRegistry fake;
    CRegistryAccess registry{fake};
    FakeFiles files;
    FakeUrlCache cache;
    std::optional<CSettingsDlg> dialog;
    SimWindow window;
    std::size_t boxesAtOpen = 0;
};

TEST_P(DeleteButtonTest, YesDeletesItsKindAndShowsNothingAfterwards) {
    Open(&cache);
    window.Answer(kIdYes);
    window.Click(GetParam().id);
    ExpectOneQuestion();
    EXPECT_EQ(cache.Urls(), GetParam().leftOnYes);
    EXPECT_EQ(cache.OpenFinds(), 0u);
    EXPECT_EQ(cache.LiveBlocks(), 0u);
    EXPECT_THAT(cache.faults, IsEmpty());
}

TEST_P(DeleteButtonTest, NoTouchesNothing) {
    Open(&cache);
    window.Answer(kIdNo);
    window.Click(GetParam().id);
    ExpectOneQuestion();
    EXPECT_EQ(cache.Urls().size(), 4u);
    EXPECT_EQ(cache.fetchCalls, 0u);
    EXPECT_THAT(cache.allocations, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Buttons, DeleteButtonTest, ::testing::ValuesIn(kButtons),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
