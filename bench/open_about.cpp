// Opens the about box of a running Vormet through its system menu's command,
// for screenshots. Prints the main dialog's rectangle as X geometry
// (WIDTHxHEIGHT+LEFT+TOP), which the box is centred in. With "close", ends
// the box and the main dialog instead.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kAboutCommand = 0x0010;

HWND FindVisible(const wchar_t* caption, HWND owner) {
    for (int i = 0; i < 200; ++i) {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, nullptr, caption)) != nullptr) {
            if (IsWindowVisible(found) &&
                (owner == nullptr || GetWindow(found, GW_OWNER) == owner)) {
                return found;
            }
        }
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const HWND dialog = FindVisible(L"Qeltrin Pro", nullptr);
    if (dialog == nullptr) {
        std::fprintf(stderr, "open_about: no main dialog\n");
        return 1;
    }
    if (argc > 1 && std::strcmp(argv[1], "close") == 0) {
        if (const HWND box = FindWindowExW(nullptr, nullptr, nullptr, L"ﾊﾞｰｼﾞｮﾝ情報")) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 100 && IsWindow(box); ++i) {
                Sleep(50);
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    PostMessageW(dialog, WM_SYSCOMMAND, kAboutCommand, 0);
    if (FindVisible(L"ﾊﾞｰｼﾞｮﾝ情報", dialog) == nullptr) {
        std::fprintf(stderr, "open_about: the about box did not appear\n");
        return 1;
    }
    RECT rect;
    GetWindowRect(dialog, &rect);
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
}
