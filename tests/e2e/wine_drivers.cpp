#include "tests/support/wine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/win32_encoding.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static of a message box's text

// Where a key goes: the focus window, or the dialog itself when it has none,
// as while activation moves between programs.
HWND KeyTarget(DWORD thread, HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    return info.hwndFocus != nullptr ? info.hwndFocus : dialog;
}

void End(HANDLE process) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kTimeoutMs);
    CloseHandle(process);
}

// Ends the help viewer if one is up; false when none is. One left running
// would hold the test's output open, and ctest would wait for it.
bool EndHelpViewer() {
    DWORD id = 0;
    if (GetWindowThreadProcessId(FindWindowW(L"MS_WINHELP", nullptr), &id) == 0) {
        return false;
    }
    if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
        End(process);
    }
    return true;
}

// One argument as the C runtime splits a command line: in quotes when empty
// or holding a blank or a quote, where a quote and the backslashes right
// before it, or before the closing quote, are escaped by backslashes.
std::wstring Quoted(const std::string& utf8) {
    const std::wstring arg = Widen(utf8);
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'"') {
            quoted.append(backslashes + 1, L'\\');
        }
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        quoted += c;
    }
    return quoted.append(backslashes, L'\\') + L'"';
}

// A scratch file holding bytes, read from its start by the program that
// inherits it as a standard stream; gone once closed.
HANDLE Scratch(const std::string& bytes = "") {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"cli", 0, path);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    &inherited, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return file;
}

std::string ReadAndClose(HANDLE file) {
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);  // the program's writes moved it
    ReadFile(file, bytes.data(), bytes.size(), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

}  // namespace

bool Launch(const std::wstring& exe, std::wstring commandLine, const std::wstring& directory,
            STARTUPINFOW& startup, DWORD flags, PROCESS_INFORMATION& process) {
    const BOOL inherit = (startup.dwFlags & STARTF_USESTDHANDLES) != 0 ? TRUE : FALSE;
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt, Sleep(1000)) {
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, inherit, flags,
                           nullptr, directory.c_str(), &startup, &process)) {
            return true;
        }
        error = GetLastError();
        std::fprintf(stderr, "Wine refused a start (error %lu)\n", error);
    }
    ADD_FAILURE() << "could not start the program: error " << error;
    return false;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    std::wstring text(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

// The dialogs of a process, from the top of the Z order down.
std::vector<HWND> DialogsOf(DWORD process) {
    std::vector<HWND> dialogs;
    DWORD id = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr));) {
        if (GetWindowThreadProcessId(w, &id) && id == process) {
            dialogs.push_back(w);
        }
    }
    return dialogs;
}

// A box as the user sees it, and its buttons from left to right.
scenario::Box ReadBox(HWND box, std::vector<int>& buttons) {
    for (const int id : {IDYES, IDNO, IDOK, IDCANCEL}) {
        if (IsWindowVisible(GetDlgItem(box, id))) {
            buttons.push_back(id);
        }
    }
    const std::map<std::vector<int>, unsigned> kKinds = {
        {{IDOK}, MB_OK}, {{IDOK, IDCANCEL}, MB_OKCANCEL}, {{IDYES, IDNO}, MB_YESNO}};
    const auto kind = kKinds.find(buttons);
    scenario::Box read{Narrow(TextOf(GetDlgItem(box, kMessageTextId))),
                       kind != kKinds.end() ? kind->second : 0xF, Narrow(TextOf(box))};
    // The exclamation, the only icon the program shows: which picture an icon
    // of another process holds cannot be read from here.
    for (HWND c = nullptr; (c = FindWindowExW(box, c, L"Static", nullptr));) {
        const LONG kind = GetWindowLongW(c, GWL_STYLE) & (SS_TYPEMASK | WS_VISIBLE);
        if (kind == (SS_ICON | WS_VISIBLE) && Ask(c, STM_GETICON) != 0) {
            read.type |= MB_ICONEXCLAMATION;
        }
    }
    return read;
}

WineDialog::WineDialog(std::wstring exe, std::wstring directory)
    : exe_(std::move(exe)), directory_(std::move(directory)) {}

WineDialog::~WineDialog() {
    if (process_.hProcess != nullptr) {
        End(process_.hProcess);
        CloseHandle(process_.hThread);
        EndHelpViewer();  // a step that failed may have left one
    }
}

// The process's dialog without an owner; it exists before it is shown.
HWND WineDialog::Main() {
    if (main_ == nullptr) {
        for (const HWND w : DialogsOf(process_.dwProcessId)) {
            if (GetWindow(w, GW_OWNER) == nullptr) {
                main_ = w;
            }
        }
    }
    return main_;
}

// Posts a state change to a group box, where it shows nothing, and waits until
// the program has handled it, and so everything posted before it.
bool WineDialog::RoundTrip() {
    const HWND marker = FindWindowExW(Main(), nullptr, L"Button", nullptr);  // "JavaScriptの設定"
    Ask(marker, BM_SETSTATE, FALSE);
    PostMessageW(marker, BM_SETSTATE, TRUE, 0);
    for (const ULONGLONG end = GetTickCount64() + kTimeoutMs; GetTickCount64() < end; Sleep(1)) {
        if (Ask(marker, BM_GETSTATE) & BST_PUSHED) {
            return true;
        }
    }
    return false;
}

// Settled when no other dialog is open and two round trips in a row found
// none: what an answer sets off (a preset's five clicks) may come behind the
// first one.
scenario::Shown WineDialog::Settle(const std::vector<int>& answers) {
    scenario::Shown shown;
    const ULONGLONG end = GetTickCount64() + kTimeoutMs;
    for (int quiet = 0; quiet < 2;) {
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_TIMEOUT || GetTickCount64() > end) {
            ADD_FAILURE() << "the program ended or hangs";
            return shown;
        }
        bool busy = !Main() || !IsWindowVisible(main_);
        for (const HWND w : DialogsOf(process_.dwProcessId)) {
            busy = busy || w != main_;  // until it is gone
            if (w != main_ && IsWindowVisible(w) && handled_.insert(w).second) {
                Answer(w, answers, shown);
                break;  // one at a time, topmost first, as stacked boxes must be
            }
        }
        quiet = !busy && RoundTrip() ? quiet + 1 : 0;
        Sleep(busy ? 1 : 0);
    }
    return shown;
}

// Answers a box as the step says, or ends another dialog by its OK.
void WineDialog::Answer(HWND window, const std::vector<int>& answers, scenario::Shown& shown) {
    EXPECT_EQ(GetWindow(window, GW_OWNER), main_) << Narrow(TextOf(window)) << ": another owner";
    int press = IDOK;
    if (GetDlgItem(window, kMessageTextId) == nullptr) {
        shown.dialogs.push_back(Narrow(TextOf(window)));
        EXPECT_FALSE(IsWindowEnabled(main_)) << "the main dialog takes input under it";
    } else {
        std::vector<int> buttons;
        shown.boxes.push_back(ReadBox(window, buttons));
        const std::size_t n = shown.boxes.size();
        press = n <= answers.size() ? answers[n - 1] : buttons.front();
        if (std::find(buttons.begin(), buttons.end(), press) == buttons.end()) {
            ADD_FAILURE() << shown.boxes.back().text << " has no button " << press;
            press = buttons.front();
        }
    }
    PostMessageW(GetDlgItem(window, press), BM_CLICK, 0, 0);
}

scenario::Shown WineDialog::Open(const std::vector<int>& answers) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    Launch(exe_, L"\"" + exe_ + L"\"", directory_, startup, 0, process_);
    return Settle(answers);
}

// A user cannot click a disabled control, nor type into it.
scenario::Shown WineDialog::Click(int id, const std::vector<int>& answers) {
    if (Enabled(id)) {
        PostMessageW(Item(id), BM_CLICK, 0, 0);
    }
    return Settle(answers);
}

scenario::Shown WineDialog::SystemCommand(unsigned command) {
    PostMessageW(Main(), WM_SYSCOMMAND, command, 0);
    return Settle({});
}

// The help viewer is a process of its own, which the program then waits for
// (it would tell that the help file is missing): it is ended once it is up.
scenario::Shown WineDialog::PressF1() {
    // WM_KEYF1, as the system sends it.
    PostMessageW(KeyTarget(process_.dwThreadId, Main()), 0x004D, 0, 0);
    bool help = false;
    for (DWORD waited = 0; waited < kTimeoutMs && !help; waited += 10) {
        Sleep(10);
        help = EndHelpViewer();
    }
    scenario::Shown shown = Settle({});
    shown.help = help;
    return shown;
}

// Replaces the whole text in one go, as a paste does, so the control's length
// limit applies: typed key by key, a 64 KiB list would be laid out again after
// every key.
void WineDialog::Type(int id, const std::string& ansi) {
    const std::wstring text = Widen(ansi, CP_ACP);
    const HWND field = FindWindowExW(Item(id), nullptr, L"Edit", nullptr);  // a combo box's
    if (Enabled(id)) {
        Ask(field ? field : Item(id), EM_SETSEL, 0, -1);
        Ask(field ? field : Item(id), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool WineDialog::Checked(int id) {
    return Ask(Item(id), BM_GETCHECK) == BST_CHECKED;
}

bool WineDialog::Enabled(int id) {
    return IsWindowEnabled(Item(id));
}

// As the program's A calls read them: in code page 932.
std::string WineDialog::Text(int id) {
    return Narrow(TextOf(Item(id)), CP_ACP);
}

std::vector<std::string> WineDialog::Items(int id) {
    std::vector<std::string> items;
    for (LRESULT i = 0; i < Ask(Item(id), CB_GETCOUNT); ++i) {
        std::wstring item(Ask(Item(id), CB_GETLBTEXTLEN, i) + 1, L'\0');
        item.resize(Ask(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
        items.push_back(Narrow(item, CP_ACP));
    }
    return items;
}

bool WineDialog::Close(scenario::CloseBy how) {
    if (how == scenario::CloseBy::kCloseBox) {
        PostMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        PostMessageW(KeyTarget(process_.dwThreadId, Main()), WM_KEYDOWN,
                     how == scenario::CloseBy::kEsc ? VK_ESCAPE : VK_RETURN, 1);
    }
    return WaitForSingleObject(process_.hProcess, kTimeoutMs) == WAIT_OBJECT_0;
}

WineCli::WineCli(std::wstring exe, std::wstring directory)
    : exe_(std::move(exe)), directory_(std::move(directory)) {}

scenario::CliRun WineCli::Run(const std::vector<std::string>& args, const std::string& input) {
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    for (const std::string& arg : args) {
        commandLine += L" " + Quoted(arg);
    }
    scenario::CliRun run;
    // Windows refuses a longer one; Wine would cut it short instead.
    if (commandLine.size() >= 32767) {
        ADD_FAILURE() << "no command line holds " << commandLine.size() << " characters";
        return run;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Scratch(input);
    startup.hStdOutput = Scratch();
    startup.hStdError = Scratch();
    PROCESS_INFORMATION process{};
    DWORD exitCode = 0;
    if (Launch(exe_, commandLine, directory_, startup, CREATE_NO_WINDOW, process)) {
        if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program hangs";
            TerminateProcess(process.hProcess, 1);
        } else if (GetExitCodeProcess(process.hProcess, &exitCode)) {
            run.exitCode = static_cast<int>(exitCode);
        }
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(startup.hStdInput);
    run.out = ReadAndClose(startup.hStdOutput);
    run.err = ReadAndClose(startup.hStdError);
    return run;
}
