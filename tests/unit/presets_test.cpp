// The three preset buttons: a question, then five clicks that the zone
// handlers turn into writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "texts/messages.h"
#include "resources/resource.h"
#include "tests/unit/dialog_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct PresetCase {
    int id;
    const char* question;
    std::uint32_t values[5];  // "1400", "1402", "1C00", "1A02", "1A03"
    int checked[5];
};

const PresetCase kPresets[] = {
    {IDC_PRESET_ALL_ON,
     kMsgConfirmAllOn,
     {0, 0, 0x30000, 0, 0},
     {IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_LOW, IDC_COOKIE_ALLOW, IDC_SESSION_ALLOW}},
    {IDC_PRESET_ALL_OFF,
     kMsgConfirmAllOff,
     {3, 3, 0, 3, 3},
     {IDC_SCRIPT_DISALLOW, IDC_APPLET_DISALLOW, IDC_JAVA_PROHIBIT, IDC_COOKIE_DISALLOW,
      IDC_SESSION_DISALLOW}},
    {IDC_PRESET_STANDARD,
     kMsgConfirmStandard,
     {0, 0, 0x10000, 0, 0},
     {IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_HIGH, IDC_COOKIE_ALLOW, IDC_SESSION_ALLOW}},
};

class PresetTest : public DialogFixture, public ::testing::WithParamInterface<PresetCase> {
  protected:
    // Every option starts at "ask" (Java at "medium"), so every preset
    // changes every option.
    void OpenAsking() {
        fake.SetDword(kZoneKey, "1C00", 0x20000);
        fake.SetDword(kSettingsKey, "ProxyEnable", 1);
        fake.SetString(kSettingsKey, "ProxyServer", "proxy:8080");
        Open();
        fake.log.clear();
    }
};

TEST_P(PresetTest, OkWritesItsRowInColumnOrderAndChecksItsButtons) {
    const PresetCase& preset = GetParam();
    OpenAsking();
    window.Answer(kIdOk);
    Click(preset.id);

    ASSERT_EQ(window.Boxes().size(), 1u);
    const SimWindow::Box& box = window.Boxes()[0];
    EXPECT_EQ(box.text, preset.question);
    EXPECT_EQ(box.type, kMbOkCancel | kMbIconExclamation);
    EXPECT_EQ(box.caption, "Vormet");
    EXPECT_EQ(box.owner, "main dialog");

    EXPECT_THAT(Log("write", kZoneKey), ElementsAre("1400", "1402", "1c00", "1a02", "1a03"));
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(fake.GetDword(kZoneKey, kZoneValueNames[column]), preset.values[column])
            << kZoneValueNames[column];
    }
    std::vector<int> checked;
    for (const int id : window.CheckedIds()) {
        if (id != IDC_PROXY_ENABLE) {
            checked.push_back(id);
        }
    }
    EXPECT_THAT(checked, ElementsAreArray(preset.checked));
    // The proxy settings are not a preset's business.
    EXPECT_EQ(fake.Writes(), 5u);
}

TEST_P(PresetTest, CancelChangesNoCheckMarkAndNoValue) {
    OpenAsking();
    const std::vector<int> before = window.CheckedIds();
    window.Answer(kIdCancel);
    Click(GetParam().id);

    ASSERT_EQ(window.Boxes().size(), 1u);
    EXPECT_EQ(window.CheckedIds(), before);
    EXPECT_EQ(fake.Writes(), 0u);
    for (const char* name : kZoneValueNames) {
        EXPECT_EQ(fake.GetDword(kZoneKey, name), name == std::string("1C00") ? 0x20000u : 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(EachPreset, PresetTest, ::testing::ValuesIn(kPresets));

TEST_F(DialogFixture, PresetOnANonWritableZoneKeyReportsEachClick) {
    fake.DenyFullAccess(kZoneKey);
    Open();
    const std::size_t atStart = window.Boxes().size();  // the unreadable values
    window.Answer(kIdOk);
    Click(IDC_PRESET_ALL_OFF);

    const std::vector<std::string> texts = BoxTexts();
    ASSERT_EQ(texts.size(), atStart + 6);
    EXPECT_EQ(texts[atStart], kMsgConfirmAllOff);
    for (std::size_t i = atStart + 1; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], kMsgZoneWriteFailed);
        EXPECT_EQ(window.Boxes()[i].type, kMbOk);
    }
    // The buttons show the preset although nothing could be stored.
    EXPECT_TRUE(window.Checked(IDC_JAVA_PROHIBIT));
    EXPECT_EQ(fake.GetDword(kZoneKey, "1400"), 1u);
}

}  // namespace
