#include "app/window/win32_dialog.h"

#include "app/window/win32_window_ops.h"

namespace {

struct Host {
    Dialog& dialog;
    Win32WindowOps window;
};

// Centres an unowned dialog on the work area, an owned one over its owner.
void Centre(HWND dialog) {
    RECT area;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT self;
    GetWindowRect(dialog, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Messages whose result is the dialog procedure's own return value.
bool ReturnsDirectly(UINT msg) {
    return msg == WM_INITDIALOG || msg == WM_QUERYDRAGICON || msg == WM_CTLCOLORMSGBOX ||
           (msg >= WM_CTLCOLOREDIT && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM ||
           msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM;
}

INT_PTR HandleDialogMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host* host = nullptr;
    if (msg == WM_INITDIALOG) {
        host = reinterpret_cast<Host*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        host->window.Bind(hwnd);
        host->dialog.Attach(host->window);
        Centre(hwnd);
    } else {
        host = reinterpret_cast<Host*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (host == nullptr) {
        return FALSE;
    }
    // While busy, the busy cursor stays over the window and its controls.
    if (msg == WM_SETCURSOR && host->window.Busy()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    const MessageResult result = host->dialog.HandleMessage(
        {msg, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam)});
    if (!result) {
        // The base dialog's standard handling: OK and Cancel end the dialog.
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return msg == WM_INITDIALOG ? TRUE : FALSE;
    }
    if (ReturnsDirectly(msg)) {
        return *result;
    }
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return HandleDialogMessage(hwnd, msg, wParam, lParam);
}

}  // namespace

INT_PTR RunModalDialog(Dialog& dialog, HWND owner) {
    Host host{dialog, Win32WindowOps(RunModalDialog)};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.TemplateId()), owner,
                           DialogProc, reinterpret_cast<LPARAM>(&host));
}
