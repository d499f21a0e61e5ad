// A long cleaning keeps the window answering the system: it answers messages
// sent with a time-out and shows another cursor than before and after, while
// mouse clicks made meanwhile run nothing; the result is as it always is.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "resources/resource.h"
#include "tests/scenario/script.h"
#include "tests/support/wine.h"

namespace {

using namespace scenario;

// A click as the mouse makes it: input, not a posted BM_CLICK.
void MouseClick(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

HCURSOR Cursor() {
    CURSORINFO cursor{sizeof cursor, 0, nullptr, {}};
    GetCursorInfo(&cursor);
    return cursor.hCursor;
}

TEST(LongCleaning, KeepsTheWindowAnsweringAndTakesNoInputMeanwhile) {
    WineMachine machine;
    machine.Clean();
    for (const Ref value : {kScript, kApplet, kJava, kCookies, kSessionCookies, kProxyEnable}) {
        machine.SetValue(value.key.root, value.key.path, value.name, Dword(1));  // asks
    }
    for (int i = 0; i < 3000; ++i) {  // over a second of cleaning
        machine.AddCacheEntry({"http://busy.example/" + std::to_string(i), false});
    }
    machine.AddCacheEntry({"Cookie:user@busy.example/", true});
    WineDialog dialog(VormetExe(), machine.Directory());
    dialog.Open({});
    const HWND main = dialog.Main();
    MouseClick(GetDlgItem(main, IDC_SCRIPT_DISALLOW));  // idle, a mouse click runs its handler
    dialog.Settle({});
    const RawValue disallow = Dword(3);
    ASSERT_EQ(machine.Value(kScript.key.root, kScript.key.path, kScript.name), disallow);

    // The cursor seen from here is the foreground window's, and Wine brings a
    // window to the front a moment after it shows. Once the box is up, the
    // main dialog takes no input until it is gone.
    const auto await = [](const auto& holds) {
        for (const ULONGLONG end = GetTickCount64() + 20000; !holds(); Sleep(1)) {
            if (GetTickCount64() > end) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(await([&] { return GetForegroundWindow() == main; })) << "never in front";
    PostMessageW(GetDlgItem(main, IDC_DELETE_TEMP_FILES), BM_CLICK, 0, 0);
    ASSERT_TRUE(await([&] {
        return !IsWindowEnabled(main) && GetWindow(GetForegroundWindow(), GW_OWNER) == main;
    })) << "no box asked first";
    const HCURSOR boxCursor = Cursor();

    // While the cleaning runs: the window answers within a second, and once
    // the cursor has changed, clicks go to two other buttons. Cursors of
    // another process cannot be told by their handles, so the busy cursor is
    // one seen after the box that was not there under it nor after the end.
    std::atomic<bool> done{false};
    std::atomic<int> unanswered{0};
    std::set<HCURSOR> seen;
    std::thread watcher([&] {
        bool clicked = false;
        for (DWORD_PTR result = 0; !done; Sleep(20)) {
            unanswered +=
                SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) ? 0 : 1;
            if (!IsWindowEnabled(main)) {
                continue;  // the box is still up: it would take the clicks
            }
            seen.insert(Cursor());
            if (!clicked && Cursor() != boxCursor) {
                clicked = true;
                MouseClick(GetDlgItem(main, IDC_SCRIPT_ALLOW));
                MouseClick(GetDlgItem(main, IDC_DELETE_COOKIES));
            }
        }
    });
    const Shown shown = dialog.Settle({IDYES});
    done = true;
    watcher.join();
    EXPECT_EQ(unanswered, 0);
    seen.erase(boxCursor);
    seen.erase(Cursor());
    EXPECT_FALSE(seen.empty()) << "no busy cursor, or it stayed after the cleaning";
    EXPECT_EQ(shown.boxes.size(), 1u) << "a click made meanwhile asked again";
    EXPECT_EQ(machine.Value(kScript.key.root, kScript.key.path, kScript.name), disallow);
    ASSERT_EQ(machine.CacheEntries().size(), 1u);
    EXPECT_TRUE(machine.CacheEntries()[0].cookie);
    EXPECT_TRUE(dialog.Close(CloseBy::kEsc));
    machine.Clean();
}

}  // namespace
