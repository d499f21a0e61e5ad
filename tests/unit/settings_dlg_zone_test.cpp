// The zone options through the main dialog, as the user meets them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "texts/messages.h"
#include "app/settings_dlg.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_url_cache.h"
#include "tests/support/sim_window.h"

namespace {

using ::testing::ElementsAre;

class ZoneDialogTest : public ::testing::Test {
  protected:
    void StoreAll(std::uint32_t script, std::uint32_t applet, std::uint32_t java,
                  std::uint32_t cookies, std::uint32_t session) {
        fake.SetDword(kZoneKey, "1400", script);
        fake.SetDword(kZoneKey, "1402", applet);
        fake.SetDword(kZoneKey, "1C00", java);
        fake.SetDword(kZoneKey, "1A02", cookies);
        fake.SetDword(kZoneKey, "1A03", session);
        fake.SetDword(kSettingsKey, "ProxyEnable", 0);  // readable, so no box of its own
    }
    void Open() { window.Open(dialog); }
    std::vector<std::string> ZoneLog(const std::string& verb) const {
        std::vector<std::string> lines;
        const std::string prefix = verb +
                                   " software\\microsoft\\windows\\currentversion\\"
                                   "internet settings\\zones\\3\\";
        for (const std::string& line : fake.log) {
            if (line.rfind(prefix, 0) == 0) {
                lines.push_back(line.substr(prefix.size()));
            }
        }
        return lines;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : window.Boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }

    // A window that records how many registry calls came before each box.
    struct Recorder : SimWindow {
        const FakeRegistry* fake = nullptr;
        std::vector<std::size_t> readsBeforeBox;
        int ShowMessage(std::string_view text, unsigned type) override {
            readsBeforeBox.push_back(fake->log.size());
            return SimWindow::ShowMessage(text, type);
        }
    };

    FakeRegistry fake;
    CRegistryAccess registry{fake};
    FakeFiles files;
    FakeUrlCache urlCache;
    CSettingsDlg dialog{SettingsServices{registry, files, urlCache}};
    Recorder window;
    ZoneDialogTest() { window.fake = &fake; }
};

TEST_F(ZoneDialogTest, StartUpReadsInTableOrderAndReflectsEachValueOnce) {
    StoreAll(1, 0, 0x20000, 3, 0);
    Open();
    EXPECT_THAT(ZoneLog("read"), ElementsAre("1400", "1402", "1c00", "1a02", "1a03"));
    EXPECT_THAT(window.CheckedIds(),
                ElementsAre(IDC_SCRIPT_QUERY, IDC_APPLET_ALLOW, IDC_JAVA_MEDIUM,
                            IDC_COOKIE_DISALLOW, IDC_SESSION_ALLOW));
    // Each posted click writes its value back once, in table order.
    EXPECT_THAT(ZoneLog("write"), ElementsAre("1400", "1402", "1c00", "1a02", "1a03"));
    EXPECT_EQ(fake.GetDword(kZoneKey, "1C00"), 0x20000u);
    EXPECT_TRUE(window.Boxes().empty());
    EXPECT_EQ(window.iconSets, 1u);
}

TEST_F(ZoneDialogTest, EachJavaValueChecksItsOwnButton) {
    const std::pair<std::uint32_t, int> cases[] = {{0x10000, IDC_JAVA_HIGH},
                                                   {0x20000, IDC_JAVA_MEDIUM},
                                                   {0x30000, IDC_JAVA_LOW},
                                                   {0, IDC_JAVA_PROHIBIT}};
    for (const auto& [value, id] : cases) {
        FakeRegistry registryState;
        CRegistryAccess access{registryState};
        CSettingsDlg dlg{SettingsServices{access, files, urlCache}};
        SimWindow sim;
        registryState.SetDword(kZoneKey, "1C00", value);
        sim.Open(dlg);
        EXPECT_TRUE(sim.Checked(id)) << value;
        EXPECT_EQ(registryState.GetDword(kZoneKey, "1C00"), value);
    }
}

TEST_F(ZoneDialogTest, EachFailedReadIsReportedBeforeTheNextRead) {
    fake.SetDword(kSettingsKey, "ProxyEnable", 0);
    fake.SetDword(kZoneKey, "1400", 3);
    fake.SetDword(kZoneKey, "1C00", 0);
    Open();
    // Reads 2 ("1402"), 4 ("1A02") and 5 ("1A03") fail, each box right after its read.
    EXPECT_THAT(window.readsBeforeBox, ElementsAre(2u, 4u, 5u));
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgReadFailed, kMsgReadFailed, kMsgReadFailed));
    for (const auto& box : window.Boxes()) {
        EXPECT_EQ(box.type, kMbOk);
        EXPECT_EQ(box.caption, "Vormet");
    }
    EXPECT_THAT(window.CheckedIds(), ElementsAre(IDC_SCRIPT_DISALLOW, IDC_JAVA_PROHIBIT));
    EXPECT_FALSE(fake.Get(kZoneKey, "1402"));
}

TEST_F(ZoneDialogTest, ValueWithoutAButtonChecksNothingAndSaysNothing) {
    StoreAll(2, 0, 0x800000, 0, 0);  // 2 and a custom Java setting have no button
    Open();
    EXPECT_FALSE(window.Checked(IDC_SCRIPT_QUERY) || window.Checked(IDC_SCRIPT_ALLOW) ||
                 window.Checked(IDC_SCRIPT_DISALLOW));
    for (int id = IDC_JAVA_HIGH; id <= IDC_JAVA_PROHIBIT; ++id) {
        EXPECT_FALSE(window.Checked(id));
    }
    EXPECT_TRUE(window.Boxes().empty());
    EXPECT_EQ(fake.GetDword(kZoneKey, "1C00"), 0x800000u);
    EXPECT_EQ(fake.GetDword(kZoneKey, "1400"), 2u);
}

TEST_F(ZoneDialogTest, ClickStoresAndClearsTheRestOfItsGroup) {
    StoreAll(1, 1, 0x10000, 1, 1);
    Open();
    window.Click(IDC_APPLET_DISALLOW);
    EXPECT_EQ(fake.GetDword(kZoneKey, "1402"), 3u);
    EXPECT_TRUE(window.Checked(IDC_APPLET_DISALLOW));
    EXPECT_FALSE(window.Checked(IDC_APPLET_QUERY));
    EXPECT_TRUE(window.Checked(IDC_SCRIPT_QUERY));  // other groups untouched

    const std::size_t before = fake.Writes();
    window.Click(IDC_APPLET_DISALLOW);  // already checked: written again
    EXPECT_EQ(fake.Writes(), before + 1);
}

TEST_F(ZoneDialogTest, MissingValueIsCreatedByItsFirstClick) {
    Open();
    EXPECT_FALSE(fake.HasKey(kZoneKey));
    window.Click(IDC_SESSION_DISALLOW);
    EXPECT_EQ(fake.GetDword(kZoneKey, "1A03"), 3u);
}

TEST_F(ZoneDialogTest, NonWritableKeyFailsEachClickOnceAndKeepsTheCheck) {
    StoreAll(1, 1, 0x10000, 1, 1);
    fake.DenyFullAccess(kZoneKey);
    Open();
    ASSERT_EQ(window.Boxes().size(), 5u);  // every read failed
    window.Click(IDC_SCRIPT_DISALLOW);
    window.Click(IDC_JAVA_LOW);
    ASSERT_EQ(window.Boxes().size(), 7u);
    EXPECT_EQ(window.Boxes()[5].text, kMsgZoneWriteFailed);
    EXPECT_EQ(window.Boxes()[6].text, kMsgZoneWriteFailed);
    EXPECT_TRUE(window.Checked(IDC_SCRIPT_DISALLOW));
    EXPECT_TRUE(window.Checked(IDC_JAVA_LOW));
    EXPECT_EQ(fake.GetDword(kZoneKey, "1400"), 1u);
}

TEST_F(ZoneDialogTest, MinimizedPaintingAndDragIconUseTheApplicationIcon) {
    Open();
    EXPECT_FALSE(dialog.HandleMessage({kWmPaint, 0, 0}));  // normal painting is the default's
    window.iconic = true;
    EXPECT_TRUE(dialog.HandleMessage({kWmPaint, 0, 0}));
    EXPECT_EQ(window.PaintsOfIcon(), 1u);
    EXPECT_EQ(dialog.HandleMessage({kWmQueryDragIcon, 0, 0}), SimWindow::kIconHandle);
}

TEST_F(ZoneDialogTest, OkAndCancelAreLeftToTheBaseDialogAndWriteNothing) {
    StoreAll(1, 1, 0x10000, 1, 1);
    Open();
    const std::size_t writes = fake.Writes();
    EXPECT_FALSE(dialog.HandleMessage(ClickMessage(kIdOk)));
    EXPECT_FALSE(dialog.HandleMessage(ClickMessage(kIdCancel)));
    EXPECT_EQ(fake.Writes(), writes);
}

}  // namespace
