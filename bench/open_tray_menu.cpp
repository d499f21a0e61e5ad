// Opens the menu of the running tray from its icon in Wine's system tray,
// for screenshots; with "close", ends the tray instead.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "close") == 0) {
        PostMessageW(FindWindowW(L"QeltrinProTray", nullptr), WM_CLOSE, 0, 0);
        return 0;
    }
    for (int i = 0; i < 200; ++i) {
        const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
        const HWND icon = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr);
        RECT at{};
        if (icon != nullptr && GetWindowRect(icon, &at)) {
            // Where a user's right click would be: the menu opens there.
            SetCursorPos((at.left + at.right) / 2, (at.top + at.bottom) / 2);
            PostMessageW(icon, WM_RBUTTONDOWN, 0, 0);
            PostMessageW(icon, WM_RBUTTONUP, 0, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
