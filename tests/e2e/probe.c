/* Hooked into Vormet.exe's thread by the end-to-end driver, to read what only
   the program's own process can: a line "COMMAND<tab>TEXT" (UTF-8) for each
   item of the main dialog's system menu, then whether the window is minimized
   and offers the application icon as its icons and for dragging. Written to
   %TEMP%\qeltrin-probe.txt. */
#include <windows.h>

__declspec(dllexport) LRESULT CALLBACK Probe(int code, WPARAM removed, LPARAM lParam) {
    const MSG* msg = (const MSG*)lParam;
    if (code == HC_ACTION && removed && msg->message == RegisterWindowMessageW(L"QeltrinProbe")) {
        wchar_t path[MAX_PATH + 32];
        lstrcatW(path + GetTempPathW(MAX_PATH, path), L"qeltrin-probe.txt");
        const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        const HMENU menu = GetSystemMenu(msg->hwnd, FALSE);
        char line[1024];
        DWORD length = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = L"";
            GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
            length = wsprintfA(line, "%u\t", GetMenuItemID(menu, i));
            length += WideCharToMultiByte(CP_UTF8, 0, text, -1, line + length, 768, NULL, NULL);
            line[length - 1] = '\n';
            WriteFile(file, line, length, &length, NULL);
        }
        const LRESULT icon = (LRESULT)LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(128));
        const BOOL own = IsIconic(msg->hwnd) &&
                         SendMessageW(msg->hwnd, WM_QUERYDRAGICON, 0, 0) == icon &&
                         SendMessageW(msg->hwnd, WM_GETICON, ICON_BIG, 0) == icon &&
                         SendMessageW(msg->hwnd, WM_GETICON, ICON_SMALL, 0) == icon;
        WriteFile(file, own ? "iconic, own icon\n" : "not\n", own ? 17 : 4, &length, NULL);
        CloseHandle(file);
    }
    return CallNextHookEx(NULL, code, removed, lParam);
}
