// The exclusion list and the local-address switch, and that no stored list is
// ever lost to a read buffer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "texts/messages.h"
#include "proxy/exclusions.h"
#include "resources/resource.h"
#include "tests/unit/dialog_fixture.h"

namespace {

using ::testing::ElementsAre;

struct StripCase {
    std::string text;
    std::string result;
    bool stripped;
};

TEST(StripLocalSuffix, RemovesTheEntryAndTheOneByteBeforeIt) {
    const StripCase cases[] = {
        {"x;<local>", "x", true},
        {"<local>", "", true},
        {"abc<local>", "ab", true},
        {"\x82\xA0<local>", "\x82", true},  // half of a double-byte character goes too
        {";<local>;<local>", ";<local>", true},
        {std::string("ab;<local>\0tail", 15), "ab", true},  // the text ends at its zero byte
        {"x;<LOCAL>", "x;<LOCAL>", false},
        {"x;<local> ", "x;<local> ", false},
        {"local>", "local>", false},
        {"", "", false},
    };
    for (const StripCase& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(StripLocalSuffix(text), c.stripped) << c.text;
        EXPECT_EQ(text, c.result) << c.text;
    }
}

class ExclusionsTest : public DialogFixture {
  protected:
    void OpenWith(const std::optional<std::string>& stored) {
        fake.SetDword(kSettingsKey, "ProxyEnable", 1);
        if (stored) {
            fake.SetString(kSettingsKey, "ProxyOverride", *stored);
        }
        Open();
        fake.log.clear();
    }
    std::string Edit() { return window.GetText(IDC_PROXY_OVERRIDE); }
    bool Local() { return window.Checked(IDC_PROXY_LOCAL); }
};

TEST_F(ExclusionsTest, StartUpSplitsTheLocalEntryFromTheRestWithoutWriting) {
    struct Case {
        std::optional<std::string> stored;
        std::string edit;
        bool local;
    };
    const Case cases[] = {
        {"foo;<local>", "foo", true},
        {"<local>", "", true},
        {"abc<local>", "ab", true},
        {"a;b", "a;b", false},
        {std::nullopt, "", false},
        {std::string(kMaxExclusionBytes, 'u'), "", false},  // too long to read: shown empty
    };
    for (const Case& c : cases) {
        FakeRegistry state;
        if (c.stored) {
            state.SetString(kSettingsKey, "ProxyOverride", *c.stored);
        }
        CRegistryAccess access{state};
        CSettingsDlg dlg{ServicesOver(access)};
        SimWindow sim;
        sim.Open(dlg);
        EXPECT_EQ(sim.GetText(IDC_PROXY_OVERRIDE), c.edit);
        EXPECT_EQ(sim.Checked(IDC_PROXY_LOCAL), c.local);
        EXPECT_EQ(state.GetString(kSettingsKey, "ProxyOverride"), c.stored);
    }
}

TEST_F(ExclusionsTest, SetStoresTheEditTextAsTypedWithTheEntryWhenChecked) {
    OpenWith("old");
    const std::pair<std::string, bool> typed[] = {
        {"", true},                     // ";<local>"
        {"a;<local>", true},            // gains a second entry
        {"a;<local>", false},           // stored as typed, not stripped
        {"intra\r\n*.example", false},  // a line break is part of the text
    };
    const char* const expected[] = {";<local>", "a;<local>;<local>", "a;<local>",
                                    "intra\r\n*.example"};
    for (std::size_t i = 0; i < 4; ++i) {
        window.Type(IDC_PROXY_OVERRIDE, typed[i].first);
        window.SetCheck(IDC_PROXY_LOCAL, typed[i].second);
        Click(IDC_SET_OVERRIDE);
        EXPECT_EQ(Stored("ProxyOverride"), expected[i]);
        EXPECT_EQ(Edit(), typed[i].first);
    }
    EXPECT_TRUE(window.Boxes().empty());

    fake.FailStores(true);
    Click(IDC_SET_OVERRIDE);
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed));
}

TEST_F(ExclusionsTest, SwitchWorksOnTheStoredListNotTheEditBox) {
    OpenWith("a;b");
    window.Type(IDC_PROXY_OVERRIDE, "unsaved");
    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(Stored("ProxyOverride"), "a;b;<local>");
    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(Stored("ProxyOverride"), "a;b");
    EXPECT_EQ(Edit(), "unsaved");
    // A list another program ended in the entry meanwhile gains a second one.
    fake.SetString(kSettingsKey, "ProxyOverride", "x;<local>");
    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(Stored("ProxyOverride"), "x;<local>;<local>");
    EXPECT_TRUE(window.Boxes().empty());
}

TEST_F(ExclusionsTest, SwitchOnAMissingListStoresTheEntryOrNothing) {
    OpenWith(std::nullopt);
    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(Stored("ProxyOverride"), ";<local>");

    FakeRegistry empty;
    CRegistryAccess access{empty};
    CSettingsDlg dlg{ServicesOver(access)};
    SimWindow sim;
    sim.Open(dlg);
    sim.Enable(IDC_PROXY_LOCAL, true);
    sim.SetCheck(IDC_PROXY_LOCAL, true);
    sim.Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(empty.GetString(kSettingsKey, "ProxyOverride"), "");
}

TEST_F(ExclusionsTest, FailedSwitchShowsWhatIsStillStored) {
    OpenWith("x;<local>");
    fake.FailStores(true);
    Click(IDC_PROXY_LOCAL);  // unchecking fails: checked again
    EXPECT_TRUE(Local());
    window.SetCheck(IDC_PROXY_LOCAL, false);
    Click(IDC_PROXY_LOCAL);  // checking fails: cleared again
    EXPECT_FALSE(Local());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, kMsgProxyWriteFailed));
    EXPECT_EQ(Stored("ProxyOverride"), "x;<local>");
}

TEST_F(ExclusionsTest, ListTooLongToReadIsNeverOverwrittenByTheSwitch) {
    const std::string huge = std::string(kMaxExclusionBytes, 'h') + ";<local>";
    OpenWith("x;<local>");
    fake.SetString(kSettingsKey, "ProxyOverride", huge);  // stored meanwhile elsewhere
    Click(IDC_PROXY_LOCAL);
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed));
    EXPECT_TRUE(Local());
    EXPECT_EQ(Stored("ProxyOverride"), huge);
    EXPECT_EQ(fake.Writes(), 0u);
}

TEST_F(ExclusionsTest, NothingLongerThanCanBeReadBackIsStored) {
    OpenWith("x");
    EXPECT_EQ(window.At(IDC_PROXY_OVERRIDE).limit, kMaxExclusionEditLength);
    const std::string longest(kMaxExclusionEditLength, 'e');
    window.Type(IDC_PROXY_OVERRIDE, longest + "cut by the limit");
    window.SetCheck(IDC_PROXY_LOCAL, true);
    Click(IDC_SET_OVERRIDE);
    EXPECT_EQ(Stored("ProxyOverride"), longest + ";<local>");

    // A text put there past the limit is refused whole.
    window.SetText(IDC_PROXY_OVERRIDE, longest + "e");
    Click(IDC_SET_OVERRIDE);
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed));
    EXPECT_EQ(Stored("ProxyOverride"), longest + ";<local>");

    // And the switch will not grow a list beyond what can be read.
    window.SetCheck(IDC_PROXY_LOCAL, false);
    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(Stored("ProxyOverride"), longest + ";<local>");
}

class LongListTest : public ExclusionsTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(LongListTest, SurvivesStartUpTheSwitchBothWaysAndTheSetButton) {
    std::string list;
    while (list.size() < GetParam()) {
        list += "host" + std::to_string(list.size()) + ".example;";
    }
    list.resize(GetParam());
    OpenWith(list + ";<local>");
    EXPECT_EQ(Edit(), list);
    EXPECT_TRUE(Local());

    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(Stored("ProxyOverride"), list);
    Click(IDC_PROXY_LOCAL);
    EXPECT_EQ(Stored("ProxyOverride"), list + ";<local>");
    Click(IDC_SET_OVERRIDE);
    EXPECT_EQ(Stored("ProxyOverride"), list + ";<local>");
    EXPECT_TRUE(window.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Bytes, LongListTest, ::testing::Values(600u, 5000u));

}  // namespace
