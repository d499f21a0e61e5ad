// The about box and its system-menu entry, through the main dialog.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/about/about_box.h"
#include "app/settings_dlg.h"
#include "tests/unit/dialog_fixture.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/support/fake_registry.h"
#include "tests/support/sim_window.h"

namespace {

class AboutTest : public ::testing::Test {
  protected:
    MessageResult SysCommand(std::uintptr_t command) {
        return dialog.HandleMessage({kWmSysCommand, command, 0});
    }

    FakeRegistry fake;
    CRegistryAccess registry{fake};
    CSettingsDlg dialog{ServicesOver(registry)};
    SimWindow window;
};

TEST_F(AboutTest, StartUpEndsTheSystemMenuWithSeparatorAndEntry) {
    window.Open(dialog);
    ASSERT_EQ(window.systemMenu.size(), 2u);
    EXPECT_EQ(window.systemMenu[0].command, 0u);
    EXPECT_TRUE(window.systemMenu[0].text.empty());
    EXPECT_EQ(window.systemMenu[1].command, 0x0010u);
    EXPECT_EQ(window.systemMenu[1].text, "Vormet のﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_TRUE(window.modalRuns.empty());
}

TEST_F(AboutTest, NoEntryWithoutSystemMenuOrText) {
    window.hasSystemMenu = false;
    window.Open(dialog);
    EXPECT_TRUE(window.systemMenu.empty());
    EXPECT_EQ(window.stringLoads, 0u);  // the string is only needed for a menu

    SimWindow noText;
    noText.strings.clear();
    CSettingsDlg other{ServicesOver(registry)};
    noText.Open(other);
    EXPECT_EQ(noText.stringLoads, 1u);
    EXPECT_TRUE(noText.systemMenu.empty());  // not even the separator
    // The rest of the start-up goes on.
    EXPECT_EQ(noText.iconSets, 1u);
}

TEST_F(AboutTest, AboutCommandShowsTheBoxWhateverItsLowBits) {
    window.Open(dialog);
    for (const std::uintptr_t command : {0x0010u, 0x0013u, 0x001Fu}) {
        const MessageResult result = SysCommand(command);
        ASSERT_TRUE(result.has_value()) << std::hex << command;
        EXPECT_EQ(*result, 0);
    }
    EXPECT_EQ(window.modalRuns, (std::vector<int>{IDD_ABOUTBOX, IDD_ABOUTBOX, IDD_ABOUTBOX}));
}

TEST_F(AboutTest, OtherSystemCommandsGoOnToTheDefaultHandling) {
    window.Open(dialog);
    // Move, size, minimize, maximize, close, restore, keyboard menu; and the
    // commands on either side of the entry's block of sixteen.
    for (const std::uintptr_t command : {0xF010u, 0xF000u, 0xF020u, 0xF030u, 0xF060u, 0xF120u,
                                         0xF100u, 0x0000u, 0x000Fu, 0x0020u, 0x0110u, 0x1010u}) {
        EXPECT_FALSE(SysCommand(command).has_value()) << std::hex << command;
    }
    EXPECT_TRUE(window.modalRuns.empty());
}

TEST_F(AboutTest, AboutButtonShowsTheSameBoxAndChangesNothing) {
    fake.SetDword(kZoneKey, "1400", 3);
    fake.SetDword(kZoneKey, "1A02", 0);
    window.Open(dialog);
    const std::vector<int> checked = window.CheckedIds();
    ASSERT_EQ(checked.size(), 2u);
    const std::size_t writes = fake.Writes();
    const std::size_t boxes = window.Boxes().size();
    window.Click(IDC_ABOUT);
    window.Click(IDC_ABOUT);
    EXPECT_EQ(window.modalRuns, (std::vector<int>{IDD_ABOUTBOX, IDD_ABOUTBOX}));
    EXPECT_EQ(window.CheckedIds(), checked);
    EXPECT_EQ(fake.Writes(), writes);
    EXPECT_EQ(window.Boxes().size(), boxes);
}

TEST(AboutBox, LeavesEveryMessageToTheBaseDialog) {
    // OK, Esc (Cancel) and the close box must reach the standard handling,
    // which ends the box; a row taking them would keep it open.
    CAboutBox box;
    EXPECT_EQ(box.TemplateId(), IDD_ABOUTBOX);
    EXPECT_FALSE(box.HandleMessage({kWmInitDialog, 0, 0}).has_value());
    EXPECT_FALSE(box.HandleMessage(ClickMessage(kIdOk)).has_value());
    EXPECT_FALSE(box.HandleMessage(ClickMessage(kIdCancel)).has_value());
    EXPECT_FALSE(box.HandleMessage({kWmSysCommand, 0xF060, 0}).has_value());
}

}  // namespace
