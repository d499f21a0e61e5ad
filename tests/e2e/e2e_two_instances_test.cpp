// Two copies of the program at once: nothing limits the number of running
// instances; each reads the registry at its own start and stores its own
// clicks at once, so neither undoes nor corrupts what the other stored.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"
#include "tests/e2e/support/startup_values.h"

namespace {

void StartSettled(e2e::App& app) {
    ASSERT_TRUE(app.Start());
    const e2e::Outcome started = app.Settle();
    ASSERT_TRUE(started.settled) << started;
    ASSERT_TRUE(started.boxes.empty()) << started;
}

void ClickQuietly(e2e::App& app, int id) {
    const e2e::Outcome clicked = app.Click(id);
    ASSERT_TRUE(clicked.settled) << clicked;
    EXPECT_TRUE(clicked.boxes.empty()) << clicked;
}

TEST(TwoInstances, EachStoresItsOwnClicksAndNeitherUndoesTheOther) {
    ASSERT_TRUE(e2e::StoreReadableStartupValues());
    ASSERT_TRUE(e2e::SetDword(kSettingsKey, "ProxyEnable", 1));
    ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyServer", "start:80"));
    ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyOverride", "start.example"));

    e2e::App first;
    StartSettled(first);
    ClickQuietly(first, IDC_SCRIPT_ALLOW);  // "1400": 3 -> 0

    // The second reads at its start what the first has stored by then.
    e2e::App second;
    StartSettled(second);
    EXPECT_TRUE(second.IsChecked(IDC_SCRIPT_ALLOW));
    EXPECT_EQ(second.TextA(IDC_PROXY_OVERRIDE), "start.example");

    ClickQuietly(second, IDC_COOKIE_ALLOW);  // "1A02": 3 -> 0
    ClickQuietly(first, IDC_JAVA_LOW);       // "1C00": medium -> low
    ASSERT_TRUE(first.Type(IDC_PROXY_OVERRIDE, "first.example"));
    ClickQuietly(first, IDC_SET_OVERRIDE);
    // The local-address switch works on the stored list, so it keeps the
    // first's list although its own edit box still shows the old one.
    ClickQuietly(second, IDC_PROXY_LOCAL);
    ASSERT_TRUE(second.Type(IDC_PROXY_SERVER, "second:8080"));
    ClickQuietly(second, IDC_SET_SERVER);

    const auto check = [](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(e2e::GetDword(kZoneKey, "1400"), 0u);        // the first's click
        EXPECT_EQ(e2e::GetDword(kZoneKey, "1402"), 0u);        // as it was
        EXPECT_EQ(e2e::GetDword(kZoneKey, "1C00"), 0x30000u);  // the first's click
        EXPECT_EQ(e2e::GetDword(kZoneKey, "1A02"), 0u);        // the second's click
        EXPECT_EQ(e2e::GetDword(kZoneKey, "1A03"), 0u);        // as it was
        EXPECT_EQ(e2e::GetDword(kSettingsKey, "ProxyEnable"), 1u);
        EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyServer"), "second:8080");
        EXPECT_EQ(e2e::GetString(kSettingsKey, "ProxyOverride"), "first.example;<local>");
    };
    check("after the clicks");

    // Each window shows its own start and its own clicks; neither re-reads.
    EXPECT_TRUE(first.IsChecked(IDC_COOKIE_DISALLOW));
    EXPECT_TRUE(second.IsChecked(IDC_JAVA_MEDIUM));

    first.PressKey(VK_ESCAPE);
    second.PressKey(VK_ESCAPE);
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_TRUE(second.WaitForExit());
    check("after both ended");
    EXPECT_TRUE(e2e::DeleteValue(kSettingsKey, "ProxyServer"));
    EXPECT_TRUE(e2e::DeleteValue(kSettingsKey, "ProxyOverride"));
}

}  // namespace
