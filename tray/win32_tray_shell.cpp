#include "tray/win32_tray_shell.h"

#include <shellapi.h>

#include "platform/win32_encoding.h"
#include "platform/win32_platform.h"
#include "resources/resource.h"
#include "tray/tray_icon.h"
#include "tray/tray_texts.h"

namespace {

constexpr UINT kIconId = 1;

// Copies a text into a fixed field of the shell's structure, cut to fit.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::string& utf8) {
    const std::wstring wide = Widen(utf8);
    const std::size_t length = std::min(wide.size(), N - 1);
    wide.copy(field, length);
    field[length] = L'\0';
}

NOTIFYICONDATAW IconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

// An icon of straight-alpha pixels.
HICON MakeIcon(int size, bool proxyOn) {
    const std::vector<std::uint32_t> pixels = DrawTrayIcon(size, proxyOn);
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = size;
    header.bV5Height = -size;  // top row first
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr) {
        return nullptr;
    }
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    const HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    const HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

// The name prompt: an edit box, OK and Cancel.
struct NamePrompt {
    std::wstring name;
};

INT_PTR CALLBACK NamePromptProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* prompt = reinterpret_cast<NamePrompt*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            prompt = reinterpret_cast<NamePrompt*>(lParam);
            SetDlgItemTextW(dialog, IDC_TRAY_NAME, prompt->name.c_str());
            SendDlgItemMessageW(dialog, IDC_TRAY_NAME, EM_SETSEL, 0, -1);
            SetForegroundWindow(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                const HWND edit = GetDlgItem(dialog, IDC_TRAY_NAME);
                prompt->name.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1,
                                    L'\0');
                prompt->name.resize(static_cast<std::size_t>(GetWindowTextW(
                    edit, prompt->name.data(), static_cast<int>(prompt->name.size()))));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

Win32TrayShell::~Win32TrayShell() {
    for (HICON& icon : icons_) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

void Win32TrayShell::Forget() {
    added_ = false;
}

HICON Win32TrayShell::Icon(bool proxyOn) {
    // The size the shell shows a small icon at, in this process's DPI.
    const int size = GetSystemMetrics(SM_CXSMICON);
    if (size != iconSize_) {
        for (int on = 0; on < 2; ++on) {
            if (icons_[on] != nullptr) {
                DestroyIcon(icons_[on]);
            }
            icons_[on] = MakeIcon(size, on != 0);
        }
        iconSize_ = size;
    }
    return icons_[proxyOn ? 1 : 0];
}

bool Win32TrayShell::ShowIcon(bool proxyOn, const std::string& tooltip) {
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kTrayCallback;
    data.hIcon = Icon(proxyOn);
    CopyField(data.szTip, tooltip);
    if (added_ && Shell_NotifyIconW(NIM_MODIFY, &data)) {
        return true;
    }
    // Not there yet, or lost with the taskbar: added anew.
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (added_) {
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
    return added_;
}

void Win32TrayShell::RemoveIcon() {
    NOTIFYICONDATAW data = IconData(window_);
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = false;
}

void Win32TrayShell::ShowBalloon(const std::string& text) {
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
    CopyField(data.szInfo, text);
    CopyField(data.szInfoTitle, kTrayTitle);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

unsigned Win32TrayShell::ShowMenu(const std::vector<MenuItem>& items) {
    const HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(
                menu, MF_STRING | (item.checked ? MF_CHECKED : 0) | (item.enabled ? 0 : MF_GRAYED),
                item.id, Widen(item.text).c_str());
        }
    }
    POINT at{};
    GetCursorPos(&at);
    // Foreground first, so that the menu closes when the user clicks elsewhere.
    SetForegroundWindow(window_);
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON |
                       (GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : 0);
    const auto chosen =
        static_cast<unsigned>(TrackPopupMenuEx(menu, flags, at.x, at.y, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}

int Win32TrayShell::ShowMessage(std::string_view text, unsigned type) {
    return MessageBoxW(window_, Widen(text).c_str(), Widen(kTrayTitle).c_str(),
                       type | MB_SETFOREGROUND);
}

std::optional<std::string> Win32TrayShell::AskName(const std::string& initial) {
    NamePrompt prompt{Widen(initial)};
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TRAY_NAME), window_,
                        NamePromptProc, reinterpret_cast<LPARAM>(&prompt)) != IDOK) {
        return std::nullopt;
    }
    return Narrow(prompt.name);
}

bool Win32TrayShell::StartDialog(std::string* path) {
    const std::wstring program = ExecutablePath();
    const std::wstring folder = program.substr(0, program.rfind(L'\\'));
    const std::wstring dialog = folder + L"\\Vormet.exe";
    *path = Narrow(dialog);
    if (program.empty() || GetFileAttributesW(dialog.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    std::wstring commandLine = L"\"" + dialog + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // In the tray's folder, where the server.pxy shipped beside it is.
    if (!CreateProcessW(dialog.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string Win32TrayShell::ProgramPath() {
    return Narrow(ExecutablePath());
}
