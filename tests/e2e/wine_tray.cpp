#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/win32_encoding.h"
#include "resources/resource.h"
#include "tests/support/wine.h"

namespace {

// The icon in Wine's standalone tray, a window of the shell's: only the
// tray under test puts one there.
HWND IconWindow() {
    const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    return tray != nullptr ? FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr)
                           : nullptr;
}

// The tooltip the shell keeps for the icon, asked of its tooltip control in
// the shell's own memory.
std::string TooltipOf(HWND icon) {
    DWORD shellId = 0;
    GetWindowThreadProcessId(icon, &shellId);
    const HANDLE shell =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shellId);
    auto* remote =
        static_cast<char*>(VirtualAllocEx(shell, nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
    std::wstring text;
    DWORD id = 0;
    for (HWND tip = nullptr; icon != nullptr && text.empty() &&
                             (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr));) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<LPWSTR>(remote + 1024);
        if (!GetWindowThreadProcessId(tip, &id) || id != shellId ||
            !WriteProcessMemory(shell, remote, &info, sizeof info, nullptr) ||
            !Ask(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote)) ||
            !ReadProcessMemory(shell, remote, &info, sizeof info, nullptr) || info.hwnd != icon) {
            continue;
        }
        wchar_t read[2048] = {};
        ReadProcessMemory(shell, remote + 1024, read, sizeof read - sizeof(wchar_t), nullptr);
        text = read;
    }
    VirtualFreeEx(shell, remote, 0, MEM_RELEASE);
    CloseHandle(shell);
    return Narrow(text);
}

// The key that chooses a menu item: the character after its "&".
WPARAM AccessKey(const std::string& item) {
    const std::size_t at = item.find('&');
    return at + 1 < item.size() ? static_cast<WPARAM>(std::toupper(item[at + 1])) : 0;
}

}  // namespace

WineTray::WineTray(std::wstring exe, std::wstring directory)
    : exe_(std::move(exe)), directory_(std::move(directory)) {}

// The tray's hidden window, which owns its icon.
HWND WineTray::Window() const {
    DWORD owner = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"QeltrinProTray", nullptr));) {
        if (GetWindowThreadProcessId(w, &owner) && owner == process_.dwProcessId) {
            return w;
        }
    }
    return nullptr;
}

WineTray::~WineTray() {
    if (Running()) {
        // Ended as at log-off, so that no icon of it is left behind.
        PostMessageW(Window(), WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
        }
    }
    if (process_.hProcess != nullptr) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool WineTray::Running() const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool WineTray::Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!Launch(exe_, L"\"" + exe_ + L"\"", directory_, startup, 0, process_)) {
        return false;
    }
    for (const ULONGLONG end = GetTickCount64() + kTimeoutMs; GetTickCount64() < end; Sleep(10)) {
        if (!Running() || (Window() != nullptr && !TooltipOf(IconWindow()).empty())) {
            break;
        }
    }
    return Running() && IconWindow() != nullptr;
}

// Settled when a round trip through the tray's window, and then a look,
// found no menu, box or prompt of it twice in a row: what a choice sets off
// shows before the tray takes the next message. A prompt takes the next
// name, or is cancelled; the dialog a double click opens is noted and ended.
scenario::Shown WineTray::Settle(const std::vector<int>& answers,
                                 const std::vector<std::string>& names) {
    scenario::Shown shown;
    std::set<HWND> handled;
    std::size_t named = 0;
    const HWND window = Window();
    const ULONGLONG end = GetTickCount64() + kTimeoutMs;
    for (int quiet = 0; quiet < 2 && GetTickCount64() < end;) {
        DWORD_PTR result = 0;
        bool busy =
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result) == 0;
        DWORD owner = 0;
        const HWND menu = FindWindowW(L"#32768", nullptr);
        busy = busy || (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, &owner) &&
                        owner == process_.dwProcessId);
        for (const HWND w : DialogsOf(process_.dwProcessId)) {
            busy = true;
            if (!IsWindowVisible(w) || !handled.insert(w).second) {
                continue;
            }
            int press = IDOK;
            if (const HWND name = GetDlgItem(w, IDC_TRAY_NAME)) {
                press = named < names.size() ? IDOK : IDCANCEL;
                if (press == IDOK) {
                    SetWindowTextW(name, Widen(names[named++]).c_str());
                }
            } else {
                std::vector<int> buttons;
                shown.boxes.push_back(ReadBox(w, buttons));
                press = shown.boxes.size() <= answers.size() ? answers[shown.boxes.size() - 1]
                                                             : buttons.front();
            }
            PostMessageW(GetDlgItem(w, press), BM_CLICK, 0, 0);
        }
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", L"Qeltrin Pro"));) {
            if (GetWindowThreadProcessId(w, &owner) && owner != process_.dwProcessId) {
                shown.dialogs.emplace_back("Qeltrin Pro");  // the dialog, opened by the tray
                const HANDLE dialog = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner);
                TerminateProcess(dialog, 0);
                WaitForSingleObject(dialog, kTimeoutMs);
                CloseHandle(dialog);
            }
        }
        quiet = busy ? 0 : quiet + 1;
        Sleep(busy ? 5 : 1);
    }
    EXPECT_TRUE(Running()) << "the tray ended or hangs";
    return shown;
}

scenario::Shown WineTray::Click(const std::vector<int>& answers) {
    PostMessageW(IconWindow(), WM_LBUTTONDOWN, 0, 0);
    PostMessageW(IconWindow(), WM_LBUTTONUP, 0, 0);
    Sleep(GetDoubleClickTime() + 100);  // a click waits until it is no double click
    return Settle(answers, {});
}

scenario::Shown WineTray::DoubleClick() {
    for (const UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        PostMessageW(IconWindow(), msg, 0, 0);
    }
    Sleep(GetDoubleClickTime() + 100);
    // The dialog takes a while to show.
    for (const ULONGLONG end = GetTickCount64() + kTimeoutMs;
         GetTickCount64() < end && FindWindowW(L"#32770", L"Qeltrin Pro") == nullptr;) {
        Sleep(10);
    }
    return Settle({}, {});
}

bool WineTray::OpenMenu(const std::string& item) {
    PostMessageW(IconWindow(), WM_RBUTTONDOWN, 0, 0);
    PostMessageW(IconWindow(), WM_RBUTTONUP, 0, 0);
    DWORD owner = 0;
    for (const ULONGLONG end = GetTickCount64() + kTimeoutMs; GetTickCount64() < end; Sleep(5)) {
        const HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu) && GetWindowThreadProcessId(menu, &owner) &&
            owner == process_.dwProcessId) {
            return PostMessageW(menu, WM_KEYDOWN, AccessKey(item), 0) != FALSE;
        }
    }
    return false;
}

scenario::Shown WineTray::Choose(const std::string& item, const std::vector<int>& answers,
                                 const std::vector<std::string>& names) {
    EXPECT_TRUE(OpenMenu(item)) << "no menu to choose " << item << " in";
    return Settle(answers, names);
}

std::string WineTray::Tooltip(const std::string& expected) {
    std::string tooltip;
    for (const ULONGLONG end = GetTickCount64() + 5000;
         (tooltip = TooltipOf(IconWindow())) != expected && GetTickCount64() < end;) {
        Sleep(20);
    }
    return tooltip;
}

bool WineTray::Exit() {
    if (!OpenMenu("終了(&X)") ||
        WaitForSingleObject(process_.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    for (const ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end; Sleep(10)) {
        if (IconWindow() == nullptr) {
            return true;
        }
    }
    return false;
}

std::string WineTray::ProgramPath() {
    return Narrow(exe_);
}

// The tray waits four seconds for the networks to be stable.
scenario::Shown WineTray::NetworksSettled() {
    Sleep(5000);
    return Settle({}, {});
}
