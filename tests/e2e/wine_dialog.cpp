#include "tests/e2e/wine_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "store/registry_paths.h"

namespace {

// The first start in a fresh prefix builds Wine's font caches: seconds.
constexpr DWORD kTimeoutMs = 60000;
constexpr int kMessageTextId = 0xFFFF;  // the static of a message box's text

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

std::string Convert(const std::wstring& text, UINT codePage) {
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
    return bytes;
}

std::wstring TextOf(HWND window) {
    std::wstring text(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

std::string ClassOf(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The dialogs of a process, from the top of the Z order down.
std::vector<HWND> DialogsOf(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& [id, found] = *reinterpret_cast<decltype(search)*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == id && ClassOf(window) == "#32770") {
                found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// The buttons as the user sees them, left to right, and the kind they make.
scenario::Box ReadBox(HWND box, std::vector<int>& buttons) {
    std::map<LONG, int> byPosition;
    bool icon = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        if (!IsWindowVisible(child)) {
            continue;
        } else if (ClassOf(child) == "Button") {
            byPosition[rect.left] = GetDlgCtrlID(child);
        } else if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            // The exclamation, the only icon the program shows: which picture
            // a static of another process holds cannot be read from here.
            icon = Ask(child, STM_GETICON) != 0;
        }
    }
    for (const auto& [x, id] : byPosition) {
        buttons.push_back(id);
    }
    const std::map<std::vector<int>, unsigned> kinds = {
        {{IDOK}, MB_OK}, {{IDOK, IDCANCEL}, MB_OKCANCEL}, {{IDYES, IDNO}, MB_YESNO}};
    const auto kind = kinds.find(buttons);
    return {Convert(TextOf(GetDlgItem(box, kMessageTextId)), CP_UTF8),
            (kind == kinds.end() ? 0xFFu : kind->second) | (icon ? MB_ICONEXCLAMATION : 0u)};
}

// When the settings were last changed, as the registry keeps it.
std::vector<ULONGLONG> LastWrites() {
    std::vector<ULONGLONG> times;
    for (const char* path : {kZoneKey, kSettingsKey}) {
        HKEY key = nullptr;
        FILETIME time{};
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, &time);
            RegCloseKey(key);
        }
        times.push_back(ULONGLONG{time.dwHighDateTime} << 32 | time.dwLowDateTime);
    }
    return times;
}

}  // namespace

WineDialog::WineDialog(std::wstring exe, std::wstring directory)
    : exe_(std::move(exe)), directory_(std::move(directory)) {
    const std::wstring name = exe_.substr(exe_.find_last_of(L'\\') + 1);
    title_ = Convert(name.substr(0, name.rfind(L'.')), CP_UTF8);
}

WineDialog::~WineDialog() {
    if (process_.hProcess != nullptr) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kTimeoutMs);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool WineDialog::Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    return CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory_.c_str(), &startup, &process_) != FALSE;
}

HWND WineDialog::Main() {
    for (const HWND window : main_ ? std::vector<HWND>{} : DialogsOf(process_.dwProcessId)) {
        wchar_t caption[16] = {};
        GetWindowTextW(window, caption, 16);  // the stored text: nothing is sent
        if (GetWindow(window, GW_OWNER) == nullptr && std::wstring(caption) == L"Qeltrin Pro") {
            main_ = window;
        }
    }
    return main_;
}

// Posts a state change to a group box, where it shows nothing, and waits until
// the program has handled it: everything posted before it is handled then.
bool WineDialog::RoundTrip() {
    const HWND marker = FindWindowExW(Main(), nullptr, L"Button", nullptr);  // the first: a group box
    Ask(marker, BM_SETSTATE, FALSE);
    PostMessageW(marker, BM_SETSTATE, TRUE, 0);
    const ULONGLONG end = GetTickCount64() + kTimeoutMs;
    while ((Ask(marker, BM_GETSTATE) & BST_PUSHED) == 0) {
        if (GetTickCount64() > end) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

// Settled: no other dialog is open, and two round trips in a row found none.
// The second one is needed because a box answered may still be setting off
// clicks (a preset posts five after its question) behind the first.
scenario::Shown WineDialog::Settle(const std::vector<int>& answers) {
    scenario::Shown shown;
    const ULONGLONG end = GetTickCount64() + kTimeoutMs;
    for (int quiet = 0;;) {
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_TIMEOUT || GetTickCount64() > end) {
            ADD_FAILURE() << "the program ended or hung";
            return shown;
        }
        bool busy = Main() == nullptr || !IsWindowVisible(main_);
        for (const HWND window : DialogsOf(process_.dwProcessId)) {
            if (window == main_) {
                continue;
            }
            busy = true;  // until it is gone
            if (!IsWindowVisible(window) || !handled_.insert(window).second) {
                continue;
            }
            int press = IDOK;
            if (GetDlgItem(window, kMessageTextId) != nullptr) {
                std::vector<int> buttons;
                shown.boxes.push_back(ReadBox(window, buttons));
                const std::size_t n = shown.boxes.size() - 1;
                press = n < answers.size() ? answers[n] : buttons.front();
                if (std::find(buttons.begin(), buttons.end(), press) == buttons.end()) {
                    ADD_FAILURE() << shown.boxes.back().text << ": no button " << press;
                    press = buttons.front();
                }
                captions.push_back(Convert(TextOf(window), CP_UTF8));
                EXPECT_EQ(captions.back(), title_) << "caption of a box";
                EXPECT_EQ(GetWindow(window, GW_OWNER), main_) << "owner of a box";
            } else {
                shown.dialogs.push_back(Convert(TextOf(window), CP_UTF8));
                EXPECT_TRUE(GetWindow(window, GW_OWNER) == main_ && !IsWindowEnabled(main_))
                    << shown.dialogs.back() << " is not shown over the main dialog";
            }
            PostMessageW(GetDlgItem(window, press), BM_CLICK, 0, 0);
            break;  // one at a time, topmost first, as stacked boxes must be
        }
        if (busy) {
            quiet = 0;
            Sleep(1);
        } else if (quiet == 2) {
            EXPECT_TRUE(IsWindowEnabled(main_)) << "the main dialog takes no input";
            return shown;
        } else {
            quiet = RoundTrip() ? quiet + 1 : 0;
        }
    }
}

scenario::Shown WineDialog::Open(const std::vector<int>& answers) {
    if (!Start()) {
        ADD_FAILURE() << "could not start the program";
        return {};
    }
    return Settle(answers);
}

// A disabled control takes no input, so the user cannot click it.
scenario::Shown WineDialog::Click(int id, const std::vector<int>& answers) {
    if (!Enabled(id)) {
        return {};
    }
    PostMessageW(Item(id), BM_CLICK, 0, 0);
    return Settle(answers);
}

scenario::Shown WineDialog::SystemCommand(unsigned command, const std::vector<int>& answers) {
    PostMessageW(Main(), WM_SYSCOMMAND, command, 0);
    return Settle(answers);
}

// Character by character, so the control's length limit applies.
void WineDialog::Type(int id, const std::string& ansi) {
    if (!Enabled(id)) {
        return;
    }
    HWND field = Item(id);
    if (ClassOf(field) == "ComboBox") {
        field = FindWindowExW(field, nullptr, L"Edit", nullptr);
    }
    Ask(field, EM_SETSEL, 0, -1);
    Ask(field, WM_CLEAR);
    std::wstring text(ansi.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                    text.data(), static_cast<int>(text.size())));
    for (const wchar_t c : text) {
        Ask(field, WM_CHAR, c, 1);
    }
}

bool WineDialog::Checked(int id) {
    return Ask(Item(id), BM_GETCHECK) == BST_CHECKED;
}

bool WineDialog::Enabled(int id) {
    return IsWindowEnabled(Item(id)) != FALSE;
}

// As the program's A calls read it: in code page 932.
std::string WineDialog::Text(int id) {
    return Convert(TextOf(Item(id)), CP_ACP);
}

std::vector<std::string> WineDialog::Items(int id) {
    std::vector<std::string> items;
    for (LRESULT i = 0, count = Ask(Item(id), CB_GETCOUNT); i < count; ++i) {
        std::wstring item(Ask(Item(id), CB_GETLBTEXTLEN, i) + 1, L'\0');
        item.resize(Ask(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
        items.push_back(Convert(item, CP_ACP));
    }
    return items;
}

bool WineDialog::Close(scenario::CloseBy how) {
    const std::vector<ULONGLONG> before = LastWrites();
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(process_.dwThreadId, &thread);
    if (how == scenario::CloseBy::kCloseBox) {
        PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        PostMessageW(thread.hwndFocus, WM_KEYDOWN,
                     how == scenario::CloseBy::kEsc ? VK_ESCAPE : VK_RETURN, 1);
    }
    return WaitForSingleObject(process_.hProcess, kTimeoutMs) == WAIT_OBJECT_0 &&
           LastWrites() == before;
}
