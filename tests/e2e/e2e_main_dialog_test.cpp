// The real executable, started and driven from outside as a user would: what
// the main dialog shows, how the zone groups reflect and store the registry,
// the read-failure box, and the ways the dialog ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "texts/messages.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"
#include "tests/e2e/support/startup_values.h"
#include "tests/support/main_dialog_layout.h"

namespace {

using e2e::App;
using e2e::Outcome;

// The five groups, their buttons in template order.
const std::vector<std::vector<int>> kZoneGroups = {
    {IDC_SCRIPT_QUERY, IDC_SCRIPT_ALLOW, IDC_SCRIPT_DISALLOW},
    {IDC_APPLET_QUERY, IDC_APPLET_ALLOW, IDC_APPLET_DISALLOW},
    {IDC_JAVA_HIGH, IDC_JAVA_MEDIUM, IDC_JAVA_LOW, IDC_JAVA_PROHIBIT},
    {IDC_COOKIE_QUERY, IDC_COOKIE_ALLOW, IDC_COOKIE_DISALLOW},
    {IDC_SESSION_QUERY, IDC_SESSION_ALLOW, IDC_SESSION_DISALLOW},
};

// The checked buttons of a group, by id.
std::vector<int> CheckedIn(App& app, const std::vector<int>& group) {
    std::vector<int> checked;
    for (const int id : group) {
        if (app.IsChecked(id)) {
            checked.push_back(id);
        }
    }
    return checked;
}

void StartSettled(App& app) {
    ASSERT_TRUE(app.Start());
    const Outcome started = app.Settle();
    ASSERT_TRUE(started.settled) << started;
    ASSERT_TRUE(started.boxes.empty()) << started;
}

class MainDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(e2e::StoreReadableStartupValues()); }
};

// --- Layout ------------------------------------------------------------------

struct Expected {
    const char* className;
    LONG typeMask;
    LONG type;
};

Expected ExpectedFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::GroupBox:
            return {"Button", BS_TYPEMASK, BS_GROUPBOX};
        case ControlKind::AutoRadio:
            return {"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON};
        case ControlKind::AutoCheck:
            return {"Button", BS_TYPEMASK, BS_AUTOCHECKBOX};
        case ControlKind::PushButton:  // a default push button would fail here
            return {"Button", BS_TYPEMASK, BS_PUSHBUTTON};
        case ControlKind::ComboBox:
            return {"ComboBox", CBS_DROPDOWNLIST, CBS_DROPDOWN};
        case ControlKind::Edit:
            return {"Edit", ES_MULTILINE, ES_MULTILINE};
        case ControlKind::Static:
            return {"Static", SS_TYPEMASK, SS_LEFT};
    }
    return {"", 0, 0};
}

// The dialog's base units, recovered from its client size in pixels: the one
// pair that maps the template's 243 x 193 units onto it.
bool BaseUnits(HWND dialog, int* x, int* y) {
    RECT client;
    GetClientRect(dialog, &client);
    *x = *y = 0;
    for (int unit = 1; unit < 64; ++unit) {
        if (*x == 0 && MulDiv(243, unit, 4) == client.right) {
            *x = unit;
        }
        if (*y == 0 && MulDiv(193, unit, 8) == client.bottom) {
            *y = unit;
        }
    }
    return *x != 0 && *y != 0;
}

TEST_F(MainDialogTest, OpensCentredWithTheDesignedControlsInOrder) {
    App app;
    StartSettled(app);
    const HWND dialog = app.MainDialog();

    EXPECT_EQ(e2e::Text(dialog), "Qeltrin Pro");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    const auto style = static_cast<DWORD>(e2e::Style(dialog));
    for (const DWORD flag : {DWORD{WS_POPUP}, DWORD{WS_CAPTION}, DWORD{WS_SYSMENU},
                             DWORD{WS_MINIMIZEBOX}, DWORD{DS_MODALFRAME}}) {
        EXPECT_EQ(style & flag, flag) << std::hex << "style " << style << " lacks " << flag;
    }
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0u);
    EXPECT_NE(e2e::ExStyle(dialog) & WS_EX_APPWINDOW, 0) << "no taskbar button of its own";
    RECT area;
    RECT window;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(dialog, &window);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    EXPECT_EQ(window.left, area.left + (area.right - area.left - width) / 2);
    EXPECT_EQ(window.top, area.top + (area.bottom - area.top - height) / 2);

    int xUnit = 0;
    int yUnit = 0;
    ASSERT_TRUE(BaseUnits(dialog, &xUnit, &yUnit));
    const std::vector<HWND> controls = e2e::Children(dialog);
    ASSERT_EQ(controls.size(), kMainDialogLayout.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlLayout& want = kMainDialogLayout[i];
        const HWND control = controls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " \"" + want.caption + "\"");
        const Expected kind = ExpectedFor(want.kind);
        const LONG controlStyle = e2e::Style(control);
        EXPECT_EQ(e2e::ControlIdOf(control), want.id);
        EXPECT_EQ(e2e::ClassName(control), kind.className);
        EXPECT_EQ(controlStyle & kind.typeMask, kind.type) << std::hex << controlStyle;
        if (want.kind != ControlKind::ComboBox && want.kind != ControlKind::Edit) {
            EXPECT_EQ(e2e::Text(control), want.caption);
        }
        EXPECT_EQ((controlStyle & WS_GROUP) != 0, want.group);
        // The window system moves a radio group's tab stop to its checked button.
        const bool tabStop = want.kind == ControlKind::AutoRadio
                                 ? e2e::CheckState(control) == BST_CHECKED
                                 : want.tabStop;
        EXPECT_EQ((controlStyle & WS_TABSTOP) != 0, tabStop);

        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, MulDiv(want.x, xUnit, 4));
        EXPECT_EQ(rect.top, MulDiv(want.y, yUnit, 8));
        EXPECT_EQ(rect.right - rect.left, MulDiv(want.width, xUnit, 4));
        if (want.kind != ControlKind::ComboBox) {  // its height counts the closed list
            EXPECT_EQ(rect.bottom - rect.top, MulDiv(want.height, yUnit, 8));
        }
    }

    const HWND combo = GetDlgItem(dialog, IDC_PROXY_SERVER);
    EXPECT_NE(e2e::Style(combo) & CBS_AUTOHSCROLL, 0);
    EXPECT_EQ(e2e::Style(combo) & CBS_SORT, 0);
    const HWND edit = GetDlgItem(dialog, IDC_PROXY_OVERRIDE);
    const LONG editStyle = e2e::Style(edit);
    EXPECT_NE(editStyle & WS_VSCROLL, 0);
    EXPECT_EQ(editStyle & (ES_AUTOHSCROLL | ES_WANTRETURN), 0) << std::hex << editStyle;
    EXPECT_TRUE((editStyle & WS_BORDER) != 0 || (e2e::ExStyle(edit) & WS_EX_CLIENTEDGE) != 0);
}

// --- Zone groups -----------------------------------------------------------------

TEST_F(MainDialogTest, StoredZoneValuesShowAsCheckMarksAndAreWrittenBack) {
    // Stored as four bytes of another type: readable, and only the start-up
    // write-back turns it into a REG_DWORD, so the write shows.
    const BYTE disallow[4] = {3, 0, 0, 0};
    ASSERT_TRUE(e2e::SetRaw(kZoneKey, "1A02", REG_BINARY, disallow, sizeof disallow));
    App app;
    StartSettled(app);

    const std::vector<std::vector<int>> expected = {{IDC_SCRIPT_DISALLOW},
                                                    {IDC_APPLET_ALLOW},
                                                    {IDC_JAVA_MEDIUM},
                                                    {IDC_COOKIE_DISALLOW},
                                                    {IDC_SESSION_ALLOW}};
    for (std::size_t row = 0; row < kZoneGroups.size(); ++row) {
        EXPECT_EQ(CheckedIn(app, kZoneGroups[row]), expected[row]) << "group " << row + 1;
    }
    EXPECT_EQ(e2e::GetDword(kZoneKey, "1A02"), 3u);
}

TEST_F(MainDialogTest, ClickStoresTheButtonsValueAndMovesTheCheckMark) {
    App app;
    StartSettled(app);

    struct Step {
        int id;
        const char* name;
        DWORD value;
        std::size_t group;
    };
    for (const Step step :
         {Step{IDC_JAVA_LOW, "1C00", 0x30000, 2}, Step{IDC_JAVA_PROHIBIT, "1C00", 0, 2},
          Step{IDC_SCRIPT_QUERY, "1400", 1, 0}, Step{IDC_SESSION_DISALLOW, "1A03", 3, 4}}) {
        SCOPED_TRACE("button " + std::to_string(step.id));
        const Outcome clicked = app.Click(step.id);
        ASSERT_TRUE(clicked.settled) << clicked;
        EXPECT_TRUE(clicked.boxes.empty()) << clicked;
        EXPECT_EQ(e2e::GetDword(kZoneKey, step.name), step.value);
        EXPECT_EQ(CheckedIn(app, kZoneGroups[step.group]), std::vector<int>{step.id});
    }
    // The other groups kept what they showed.
    EXPECT_EQ(CheckedIn(app, kZoneGroups[1]), std::vector<int>{IDC_APPLET_ALLOW});
    EXPECT_EQ(CheckedIn(app, kZoneGroups[3]), std::vector<int>{IDC_COOKIE_DISALLOW});
}

// --- The read-failure box ------------------------------------------------------------

TEST_F(MainDialogTest, MissingValueGivesOneReadFailureBoxBeforeTheDialogShows) {
    ASSERT_TRUE(e2e::DeleteValue(kZoneKey, "1402"));
    App app;
    ASSERT_TRUE(app.Start());

    const std::optional<e2e::MessageBoxInfo> box = app.WaitForMessageBox(e2e::kStartTimeoutMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Vormet");
    EXPECT_EQ(box->text, kMsgReadFailed);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(box->icon);
    EXPECT_EQ(box->owner, app.MainDialog()) << "owned by the main dialog";
    EXPECT_FALSE(box->ownerVisible) << "shown while the dialog is still being set up";

    const Outcome started = app.Settle();
    ASSERT_TRUE(started.settled) << started;
    ASSERT_EQ(started.boxes.size(), 1u) << started;  // the one already seen
    EXPECT_EQ(started.boxes[0].window, box->window);
    EXPECT_TRUE(CheckedIn(app, kZoneGroups[1]).empty());
    EXPECT_EQ(CheckedIn(app, kZoneGroups[0]), std::vector<int>{IDC_SCRIPT_DISALLOW});

    const Outcome clicked = app.Click(IDC_APPLET_DISALLOW);
    ASSERT_TRUE(clicked.settled) << clicked;
    EXPECT_TRUE(clicked.boxes.empty()) << clicked;
    EXPECT_EQ(e2e::GetDword(kZoneKey, "1402"), 3u);
}

TEST_F(MainDialogTest, BoxCaptionIsTheNameTheExecutableWasStartedUnder) {
    ASSERT_TRUE(e2e::DeleteValue(kZoneKey, "1A03"));
    App app(e2e::LaunchOptions{L"Other.exe", {}});
    ASSERT_TRUE(app.Start());
    const Outcome started = app.Settle();
    ASSERT_TRUE(started.settled) << started;
    ASSERT_EQ(started.boxes.size(), 1u) << started;
    EXPECT_EQ(started.boxes[0].caption, "Other");
    EXPECT_EQ(started.boxes[0].text, kMsgReadFailed);
}

// --- Ending ------------------------------------------------------------------------

enum class Ending { kEsc, kEnter, kCloseBox };

class EndingTest : public MainDialogTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(EndingTest, EndsTheProcessWithoutWriting) {
    App app;
    StartSettled(app);
    const e2e::RegSnapshot zone = e2e::Snapshot(kZoneKey);
    const e2e::RegSnapshot settings = e2e::Snapshot(kSettingsKey);
    ASSERT_FALSE(zone.empty());

    switch (GetParam()) {
        case Ending::kEsc:
            ASSERT_TRUE(app.PressKey(VK_ESCAPE));
            break;
        case Ending::kEnter: {
            const HWND focus = e2e::FocusOf(app.MainDialog());
            ASSERT_NE(focus, nullptr);
            const bool pushButton = e2e::ClassName(focus) == "Button" &&
                                    (e2e::Style(focus) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
            ASSERT_FALSE(pushButton) << "focus on push button " << e2e::ControlIdOf(focus);
            ASSERT_TRUE(app.PressKey(VK_RETURN));
            break;
        }
        case Ending::kCloseBox:
            ASSERT_TRUE(app.CloseBox());
            break;
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(app.WaitForExit(e2e::kStepTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(e2e::Snapshot(kZoneKey), zone);
    EXPECT_EQ(e2e::Snapshot(kSettingsKey), settings);
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& info) {
    constexpr const char* kNames[] = {"Esc", "Enter", "CloseBox"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingTest,
                         ::testing::Values(Ending::kEsc, Ending::kEnter, Ending::kCloseBox),
                         EndingName);

}  // namespace
