// The presets and the proxy settings of the real executable, as a user meets
// them: confirmations, the switch and its controls, the server field, the
// server list file and the exclusion list.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "texts/messages.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"

namespace {

const int kDependents[] = {IDC_PROXY_SERVER, IDC_PROXY_LOCAL, IDC_PROXY_OVERRIDE, IDC_SET_OVERRIDE,
                           IDC_SET_SERVER};
const char* const kZoneNames[] = {"1400", "1402", "1C00", "1A02", "1A03"};

// The combo box's items as ANSI bytes. Read through the W call: from another
// process, Wine returns the A call's item text as UTF-16, unconverted.
std::vector<std::string> ServerItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring wide(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        wide.resize(static_cast<std::size_t>(
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()))));
        std::string ansi(wide.size() * 2, '\0');
        ansi.resize(static_cast<std::size_t>(
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                                static_cast<int>(ansi.size()), nullptr, nullptr)));
        items.push_back(ansi);
    }
    return items;
}

class ProxyE2eTest : public ::testing::Test {
  protected:
    // Every value readable, so the only boxes are the ones a test causes.
    void SetUp() override {
        for (const char* name : kZoneNames) {
            ASSERT_TRUE(e2e::SetDword(kZoneKey, name, 1));
        }
        ASSERT_TRUE(e2e::SetDword(kZoneKey, "1C00", 0x20000));
        ASSERT_TRUE(e2e::SetDword(kSettingsKey, "ProxyEnable", 1));
        ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyServer", "start.example:8080"));
        ASSERT_TRUE(e2e::DeleteValue(kSettingsKey, "ProxyOverride"));
    }
    void TearDown() override {
        // Leave the prefix's proxy as other suites expect it: off.
        e2e::SetDword(kSettingsKey, "ProxyEnable", 0);
        e2e::DeleteValue(kSettingsKey, "ProxyServer");
        e2e::DeleteValue(kSettingsKey, "ProxyOverride");
    }
    void StartApp(e2e::LaunchOptions options = {}) {
        app = std::make_unique<e2e::App>(std::move(options));
        ASSERT_TRUE(app->Start());
        const e2e::Outcome started = app->Settle();
        ASSERT_TRUE(started.settled) << started;
        ASSERT_TRUE(started.boxes.empty()) << started;
    }
    std::vector<bool> DependentsEnabled() {
        std::vector<bool> states;
        for (const int id : kDependents) {
            states.push_back(app->IsEnabled(id));
        }
        return states;
    }
    std::vector<std::optional<DWORD>> ZoneValues() {
        std::vector<std::optional<DWORD>> values;
        for (const char* name : kZoneNames) {
            values.push_back(e2e::GetDword(kZoneKey, name));
        }
        return values;
    }

    std::unique_ptr<e2e::App> app;
};

void ExpectOneBox(const e2e::Outcome& outcome, const char* text, std::vector<int> buttons,
                  bool icon) {
    ASSERT_TRUE(outcome.settled) << outcome;
    ASSERT_EQ(outcome.boxes.size(), 1u) << outcome;
    EXPECT_EQ(outcome.boxes[0].text, text);
    EXPECT_EQ(outcome.boxes[0].caption, "Vormet");
    EXPECT_EQ(outcome.boxes[0].buttons, buttons);
    EXPECT_EQ(outcome.boxes[0].icon, icon);
}

TEST_F(ProxyE2eTest, PresetAsksThenSetsAllFiveOnOkAndNothingOnCancel) {
    StartApp();
    const auto before = ZoneValues();
    ExpectOneBox(app->Click(IDC_PRESET_ALL_ON, IDCANCEL), kMsgConfirmAllOn, {IDOK, IDCANCEL}, true);
    EXPECT_EQ(ZoneValues(), before);
    EXPECT_TRUE(app->IsChecked(IDC_JAVA_MEDIUM));

    ExpectOneBox(app->Click(IDC_PRESET_ALL_OFF, IDOK), kMsgConfirmAllOff, {IDOK, IDCANCEL}, true);
    EXPECT_EQ(ZoneValues(), (std::vector<std::optional<DWORD>>{3u, 3u, 0u, 3u, 3u}));
    for (const int id : {IDC_SCRIPT_DISALLOW, IDC_APPLET_DISALLOW, IDC_JAVA_PROHIBIT,
                         IDC_COOKIE_DISALLOW, IDC_SESSION_DISALLOW}) {
        EXPECT_TRUE(app->IsChecked(id)) << id;
    }
    EXPECT_FALSE(app->IsChecked(IDC_JAVA_MEDIUM));
}

TEST_F(ProxyE2eTest, SwitchMovesTheFiveControlsAndStoresItsState) {
    ASSERT_TRUE(e2e::SetDword(kSettingsKey, "ProxyEnable", 0));
    StartApp();
    EXPECT_FALSE(app->IsChecked(IDC_PROXY_ENABLE));
    EXPECT_EQ(DependentsEnabled(), std::vector<bool>(5, false));

    const e2e::Outcome on = app->Click(IDC_PROXY_ENABLE);
    ASSERT_TRUE(on.settled && on.boxes.empty()) << on;
    EXPECT_TRUE(app->IsChecked(IDC_PROXY_ENABLE));
    EXPECT_EQ(DependentsEnabled(), std::vector<bool>(5, true));
    EXPECT_EQ(e2e::GetDword(kSettingsKey, "ProxyEnable"), 1u);

    const e2e::Outcome off = app->Click(IDC_PROXY_ENABLE);
    ASSERT_TRUE(off.settled && off.boxes.empty()) << off;
    EXPECT_EQ(DependentsEnabled(), std::vector<bool>(5, false));
    EXPECT_EQ(e2e::GetDword(kSettingsKey, "ProxyEnable"), 0u);
}

TEST_F(ProxyE2eTest, ServerFieldRefusesEmptyAndColonlessTextsAndStoresAValidOne) {
    StartApp();
    EXPECT_TRUE(app->IsChecked(IDC_PROXY_ENABLE));
    EXPECT_EQ(app->TextA(IDC_PROXY_SERVER), "start.example:8080");

    ASSERT_TRUE(app->Type(IDC_PROXY_SERVER, ""));
    ExpectOneBox(app->Click(IDC_SET_SERVER), kMsgPortMissing, {IDOK}, false);
    EXPECT_EQ(app->TextA(IDC_PROXY_SERVER), "start.example:8080");

    ASSERT_TRUE(app->Type(IDC_PROXY_SERVER, "proxy.example"));
    ExpectOneBox(app->Click(IDC_SET_SERVER), kMsgColonMissing, {IDOK}, false);
    EXPECT_EQ(app->TextA(IDC_PROXY_SERVER), "start.example:8080");
    EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyServer"), "start.example:8080");

    ASSERT_TRUE(app->Type(IDC_PROXY_SERVER, "http=a:80;https=b:443"));
    const e2e::Outcome stored = app->Click(IDC_SET_SERVER);
    ASSERT_TRUE(stored.settled && stored.boxes.empty()) << stored;
    EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyServer"), "http=a:80;https=b:443");

    // Typing stops where a start-up read could no longer get the text back.
    ASSERT_TRUE(app->Type(IDC_PROXY_SERVER, std::string(300, 'a')));
    EXPECT_EQ(app->TextA(IDC_PROXY_SERVER), std::string(259, 'a'));
}

TEST_F(ProxyE2eTest, ServerListFileInTheCurrentDirectoryFollowsTheStoredServer) {
    e2e::ScratchDir dir;
    ASSERT_TRUE(dir.WriteFile(L"server.pxy", "one:1\r\ntwo:2\rthree:3\n\r\nfour:4"));
    e2e::LaunchOptions options;
    options.workingDirectory = dir.Path();
    StartApp(options);
    EXPECT_EQ(ServerItems(app->Item(IDC_PROXY_SERVER)),
              (std::vector<std::string>{"start.example:8080", "one:1", "two:2", "three:3", ""}));
}

TEST_F(ProxyE2eTest, AnotherCurrentDirectoryGivesOnlyTheStoredServer) {
    e2e::ScratchDir dir;  // the list lies elsewhere
    ASSERT_TRUE(dir.WriteFile(L"server.pxy", "one:1\r\n"));
    StartApp();
    EXPECT_EQ(ServerItems(app->Item(IDC_PROXY_SERVER)),
              (std::vector<std::string>{"start.example:8080"}));
}

TEST_F(ProxyE2eTest, LocalEntryShowsAsTheCheckBoxAndUncheckingStripsIt) {
    ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyOverride", "foo;<local>"));
    StartApp();
    EXPECT_EQ(app->TextA(IDC_PROXY_OVERRIDE), "foo");
    EXPECT_TRUE(app->IsChecked(IDC_PROXY_LOCAL));

    const e2e::Outcome unchecked = app->Click(IDC_PROXY_LOCAL);
    ASSERT_TRUE(unchecked.settled && unchecked.boxes.empty()) << unchecked;
    EXPECT_FALSE(app->IsChecked(IDC_PROXY_LOCAL));
    EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyOverride"), "foo");
}

TEST_F(ProxyE2eTest, LongListSurvivesAStartAToggleAndTheSetButton) {
    std::string list;
    while (list.size() < 5000) {
        list += "*.host" + std::to_string(list.size()) + ".example;";
    }
    list.pop_back();
    ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyOverride", list + ";<local>"));
    StartApp();
    EXPECT_EQ(app->TextA(IDC_PROXY_OVERRIDE), list);
    EXPECT_TRUE(app->IsChecked(IDC_PROXY_LOCAL));

    ASSERT_TRUE(app->Click(IDC_PROXY_LOCAL).boxes.empty());
    EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyOverride"), list);
    ASSERT_TRUE(app->Click(IDC_PROXY_LOCAL).boxes.empty());
    EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyOverride"), list + ";<local>");
    ASSERT_TRUE(app->Click(IDC_SET_OVERRIDE).boxes.empty());
    EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyOverride"), list + ";<local>");
}

}  // namespace
