// A zone key the user may read but not change: the accessor opens keys with
// full access for reading too, so every zone read fails at start-up, and
// every click fails to store.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "texts/messages.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"
#include "tests/e2e/support/startup_values.h"

namespace {

constexpr int kZoneButtons[] = {
    IDC_SCRIPT_QUERY,    IDC_SCRIPT_ALLOW,    IDC_SCRIPT_DISALLOW, IDC_APPLET_QUERY,
    IDC_APPLET_ALLOW,    IDC_APPLET_DISALLOW, IDC_JAVA_HIGH,       IDC_JAVA_MEDIUM,
    IDC_JAVA_LOW,        IDC_JAVA_PROHIBIT,   IDC_COOKIE_QUERY,    IDC_COOKIE_ALLOW,
    IDC_COOKIE_DISALLOW, IDC_SESSION_QUERY,   IDC_SESSION_ALLOW,   IDC_SESSION_DISALLOW,
};

TEST(ReadOnlyZoneKey, EveryReadAndEveryClickFailsWithItsMessage) {
    ASSERT_TRUE(e2e::StoreReadableStartupValues());
    const e2e::RegSnapshot before = e2e::Snapshot(kZoneKey);
    {
        const e2e::ReadOnlyKey readOnly(kZoneKey);
        ASSERT_TRUE(readOnly.Applied());
        ASSERT_FALSE(e2e::SetDword(kZoneKey, "1400", 1)) << "the key is still writable";

        e2e::App app;
        ASSERT_TRUE(app.Start());
        const e2e::Outcome started = app.Settle();
        ASSERT_TRUE(started.settled) << started;
        ASSERT_EQ(started.boxes.size(), 5u) << started;  // the five zone reads, nothing else
        for (const e2e::MessageBoxInfo& box : started.boxes) {
            EXPECT_EQ(box.text, kMsgReadFailed);
            EXPECT_FALSE(box.ownerVisible);
        }
        for (const int id : kZoneButtons) {
            EXPECT_FALSE(app.IsChecked(id)) << "button " << id;
        }

        for (const int id : kZoneButtons) {
            SCOPED_TRACE("button " + std::to_string(id));
            const e2e::Outcome clicked = app.Click(id);
            ASSERT_TRUE(clicked.settled) << clicked;
            ASSERT_EQ(clicked.boxes.size(), 1u) << clicked;
            EXPECT_EQ(clicked.boxes[0].text, kMsgZoneWriteFailed);
            EXPECT_EQ(clicked.boxes[0].caption, "Vormet");
            EXPECT_EQ(clicked.boxes[0].buttons, std::vector<int>{IDOK});
            EXPECT_FALSE(clicked.boxes[0].icon);
            EXPECT_TRUE(app.IsChecked(id)) << "the check mark stays although nothing was stored";
        }
        app.PressKey(VK_ESCAPE);
        EXPECT_TRUE(app.WaitForExit());
    }
    EXPECT_EQ(e2e::Snapshot(kZoneKey), before);
    EXPECT_TRUE(e2e::SetDword(kZoneKey, "1400", 3)) << "the key stayed read-only";
}

}  // namespace
