// The main dialog's Win32 code in this process, under Wine: the system menu's
// about entry, and the about box it opens, read back from the real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/settings_dlg.h"
#include "app/window/win32_dialog.h"
#include "resources/resource.h"
#include "store/registry_access.h"
#include "store/registry_paths.h"
#include "tests/support/fake_registry.h"

namespace {

// Runs steps from a thread timer, which the dialogs' modal loops dispatch,
// nested ones included. A step returns true when it is done.
class TimerScript {
  public:
    using Step = std::function<bool()>;

    explicit TimerScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &TimerScript::Tick);
    }
    ~TimerScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Finished() const { return next_ == steps_.size(); }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TimerScript* self = current_;
        if (self == nullptr || self->Finished() || self->running_) {
            return;
        }
        self->running_ = true;
        if (self->steps_[self->next_]()) {
            ++self->next_;
            self->ticks_ = 0;
        } else if (++self->ticks_ > 500) {
            // Ten seconds on one step: give up and end every dialog of ours.
            self->next_ = self->steps_.size();
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND window, LPARAM) -> BOOL {
                    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                    return TRUE;
                },
                0);
        }
        self->running_ = false;
    }

    static inline TimerScript* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// A visible top-level window of this thread with the caption.
HWND FindOwnWindow(const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (IsWindowVisible(window) && TextOf(window) == s->caption) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct MenuItem {
    UINT type = 0;
    UINT id = 0;
    std::wstring text;
};

MenuItem ReadMenuItem(HMENU menu, int position) {
    MenuItem item;
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
        item.type = info.fType;
        item.id = info.wID;
        item.text = text;
    }
    return item;
}

// One control of the about box as the resource script lays it out.
struct Expected {
    const wchar_t* className;
    int id;
    DWORD style;  // without WS_CHILD and WS_VISIBLE
    DWORD exStyle;
    const wchar_t* text;
    int x, y, width, height;  // dialog units
};

const Expected kAboutControls[] = {
    {L"Static", -1, SS_ICON | SS_SUNKEN, 0, nullptr, 5, 4, 20, 20},
    {L"Static", -1, SS_LEFT | SS_NOPREFIX | WS_GROUP, 0, L"Qeltrin Pro Version 1.0.1.1", 30, 18, 95,
     8},
    {L"Static", -1, SS_LEFT | WS_GROUP, 0, L"Copyright (C) 2026 Vormet", 30, 4, 102, 8},
    {L"Button", IDOK, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE, L"OK", 128, 14, 28,
     16},
};
constexpr SIZE kAboutSize{158, 31};

// Dialog template 100 as stored in the resources (DLGTEMPLATEEX).
struct TemplateItem {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    int id;
};
struct DialogTemplate {
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    WORD points = 0;
    std::wstring font;
    std::vector<TemplateItem> items;
};

class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* data) : p_(data), start_(data) {}
    template <class T>
    T Get() {
        T value;
        std::memcpy(&value, p_, sizeof value);
        p_ += sizeof value;
        return value;
    }
    // A text, or an ordinal (0xFFFF then a WORD), or nothing (0x0000).
    std::wstring Text() {
        std::wstring text;
        if (Peek() == 0xFFFF) {
            p_ += 4;
            return L"#";
        }
        for (wchar_t c; (c = static_cast<wchar_t>(Get<WORD>())) != 0;) {
            text += c;
        }
        return text;
    }
    void AlignToDword() {
        while ((p_ - start_) % 4 != 0) {
            ++p_;
        }
    }

  private:
    WORD Peek() const {
        WORD value;
        std::memcpy(&value, p_, sizeof value);
        return value;
    }
    const BYTE* p_;
    const BYTE* start_;
};

DialogTemplate LoadDialogTemplate(int id) {
    DialogTemplate result;
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    if (found == nullptr) {
        return result;
    }
    TemplateReader in(static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))));
    if (in.Get<WORD>() != 1 || in.Get<WORD>() != 0xFFFF) {
        return result;  // not the extended form
    }
    in.Get<DWORD>();  // help id
    in.Get<DWORD>();  // extended style
    result.style = in.Get<DWORD>();
    const WORD count = in.Get<WORD>();
    in.Get<short>();
    in.Get<short>();
    result.cx = in.Get<short>();
    result.cy = in.Get<short>();
    in.Text();  // menu
    in.Text();  // class
    result.caption = in.Text();
    if (result.style & DS_SETFONT) {
        result.points = in.Get<WORD>();
        in.Get<WORD>();  // weight
        in.Get<WORD>();  // italic, charset
        result.font = in.Text();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignToDword();
        TemplateItem item{};
        in.Get<DWORD>();  // help id
        item.exStyle = in.Get<DWORD>();
        item.style = in.Get<DWORD>();
        item.x = in.Get<short>();
        item.y = in.Get<short>();
        item.cx = in.Get<short>();
        item.cy = in.Get<short>();
        item.id = in.Get<int>();
        in.Text();  // class
        in.Text();  // title
        const WORD extra = in.Get<WORD>();
        for (WORD b = 0; b < extra; ++b) {
            in.Get<BYTE>();
        }
        result.items.push_back(item);
    }
    return result;
}

TEST(AboutBoxTemplate, IsLaidOutAsDesigned) {
    const DialogTemplate about = LoadDialogTemplate(IDD_ABOUTBOX);
    EXPECT_EQ(about.style, static_cast<DWORD>(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE |
                                              WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(about.cx, kAboutSize.cx);
    EXPECT_EQ(about.cy, kAboutSize.cy);
    EXPECT_EQ(about.caption, L"ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(about.points, 9);
    EXPECT_EQ(about.font, L"ＭＳ Ｐゴシック");
    ASSERT_EQ(about.items.size(), std::size(kAboutControls));
    for (std::size_t i = 0; i < about.items.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const TemplateItem& item = about.items[i];
        const Expected& expected = kAboutControls[i];
        EXPECT_EQ(item.style, expected.style | WS_CHILD | WS_VISIBLE) << std::hex << item.style;
        EXPECT_EQ(item.exStyle, expected.exStyle);
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.x, expected.x);
        EXPECT_EQ(item.y, expected.y);
        EXPECT_EQ(item.cx, expected.width);
        EXPECT_EQ(item.cy, expected.height);
    }
}

// Checks the open about box against its template, and that every text is
// shown whole in its control with the font the control really uses.
void CheckAboutBox(HWND box, HWND owner) {
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
    const LONG style = GetWindowLongW(box, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    RECT client;
    GetClientRect(box, &client);
    RECT size{0, 0, kAboutSize.cx, kAboutSize.cy};
    MapDialogRect(box, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    // Centred over the owner.
    RECT outer;
    RECT ownerRect;
    GetWindowRect(box, &outer);
    GetWindowRect(owner, &ownerRect);
    EXPECT_NEAR(outer.left + outer.right, ownerRect.left + ownerRect.right, 2);
    EXPECT_NEAR(outer.top + outer.bottom, ownerRect.top + ownerRect.bottom, 2);

    std::vector<HWND> children;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), std::size(kAboutControls));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Expected& expected = kAboutControls[i];
        const HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(ClassOf(child), expected.className);
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), expected.id);
        DWORD childStyle = GetWindowLongW(child, GWL_STYLE) & ~(WS_CHILD | WS_VISIBLE);
        if (expected.id == IDOK) {
            // The dialog manager makes the focused push button the default
            // one; the template's flag is checked on the template itself.
            childStyle &= ~static_cast<DWORD>(BS_DEFPUSHBUTTON);
        }
        EXPECT_EQ(childStyle, expected.style) << std::hex << childStyle;
        EXPECT_EQ(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, expected.exStyle);

        // The dialog manager maps position and size separately.
        RECT where{expected.x, expected.y, expected.width, expected.height};
        MapDialogRect(box, &where);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, where.left);
        EXPECT_EQ(actual.top, where.top);
        if (expected.text != nullptr) {  // an icon control takes its icon's size
            EXPECT_EQ(actual.right - actual.left, where.right);
            EXPECT_EQ(actual.bottom - actual.top, where.bottom);
        }

        if (expected.text == nullptr) {
            EXPECT_NE(SendMessageW(child, STM_GETICON, 0, 0), 0) << "no icon shown";
            continue;
        }
        EXPECT_EQ(TextOf(child), expected.text);
        if (expected.id == IDOK) {
            continue;
        }
        // A static text wraps where it is too narrow; the second line would
        // fall outside the control and be cut off.
        const HDC dc = GetDC(child);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, actual.right - actual.left, 0};
        DrawTextW(dc, expected.text, -1, &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SIZE line{};
        GetTextExtentPoint32W(dc, expected.text, lstrlenW(expected.text), &line);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        EXPECT_LE(needed.bottom, actual.bottom - actual.top)
            << "text cut off: needs " << line.cx << " px on one line, has "
            << actual.right - actual.left;
    }
}

class AboutBoxWineTest : public ::testing::Test {
  protected:
    AboutBoxWineTest() {
        // Every value readable, so the start-up shows no boxes.
        for (const char* name : {"1400", "1402", "1A02", "1A03"}) {
            fake.SetDword(kZoneKey, name, 0);
        }
        fake.SetDword(kZoneKey, "1C00", 0x10000);
        fake.SetDword(kSettingsKey, "ProxyEnable", 0);
    }

    // Runs the main dialog modally while the script drives it.
    void RunWith(std::vector<TimerScript::Step> steps) {
        steps.insert(steps.begin(), [this] {
            main = FindOwnWindow(L"Qeltrin Pro");
            return main != nullptr;
        });
        steps.push_back([this] {
            PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        TimerScript script(std::move(steps));
        CSettingsDlg dialog{SettingsServices{registry}};
        EXPECT_EQ(RunModalDialog(dialog, nullptr), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(FindOwnWindow(L"ﾊﾞｰｼﾞｮﾝ情報"), nullptr);
    }

    FakeRegistry fake;
    CRegistryAccess registry{fake};
    HWND main = nullptr;
};

TEST_F(AboutBoxWineTest, SystemMenuEndsWithSeparatorAndAboutEntry) {
    RunWith({[this] {
        const HMENU menu = GetSystemMenu(main, FALSE);
        EXPECT_NE(menu, nullptr);
        const int count = GetMenuItemCount(menu);
        EXPECT_GE(count, 3);  // the window's own commands come first
        const MenuItem separator = ReadMenuItem(menu, count - 2);
        EXPECT_TRUE(separator.type & MFT_SEPARATOR);
        const MenuItem entry = ReadMenuItem(menu, count - 1);
        EXPECT_EQ(entry.type, static_cast<UINT>(MFT_STRING));
        EXPECT_EQ(entry.id, 0x0010u);
        EXPECT_EQ(entry.text, L"Vormet のﾊﾞｰｼﾞｮﾝ情報(&A)...");
        // Still the standard commands above it: close among them.
        EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
        return true;
    }});
}

// The ways of opening and ending the box, and the owner's enabled state, are
// checked end to end; here the live box is checked against its template, and
// the other system commands are seen to pass on to the default handling.
TEST_F(AboutBoxWineTest, MenuCommandShowsTheBoxAsLaidOutAndOtherCommandsPassOn) {
    HWND box = nullptr;
    bool shown = false;
    RunWith({
        [this] {
            PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return true;
        },
        [this] { return IsIconic(main) != FALSE; },
        [this] {
            PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
            return true;
        },
        [this] {
            if (IsIconic(main)) {
                return false;
            }
            EXPECT_EQ(FindOwnWindow(L"ﾊﾞｰｼﾞｮﾝ情報"), nullptr);
            PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            return true;
        },
        [this, &box, &shown] {
            box = FindOwnWindow(L"ﾊﾞｰｼﾞｮﾝ情報");
            if (box == nullptr) {
                return false;
            }
            CheckAboutBox(box, main);
            shown = true;
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            return true;
        },
        [&box] { return IsWindow(box) == FALSE; },
    });
    EXPECT_TRUE(shown);
}

}  // namespace
