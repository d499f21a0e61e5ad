#pragma once
// Drives the real executable from outside, as a user would: registry set-up,
// starting the process, finding its windows, reading and clicking controls,
// answering message boxes. Runs under Wine (or Windows) in a process of its
// own; the program under test never knows it is being watched.
//
// Typical use:
//
//     e2e::SetDword(kZoneKey, "1400", 3);
//     e2e::App app;
//     ASSERT_TRUE(app.Start());
//     const e2e::Outcome started = app.Settle();   // answers boxes with OK
//     ASSERT_TRUE(started.settled);
//     EXPECT_TRUE(app.IsChecked(IDC_SCRIPT_DISALLOW));
//     const e2e::Outcome clicked = app.Click(IDC_SCRIPT_ALLOW);
//     EXPECT_TRUE(clicked.boxes.empty());
//     EXPECT_EQ(e2e::GetDword(kZoneKey, "1400"), 0u);
//
// Every wait polls in short steps against a bounded timeout and returns as
// soon as its condition holds, so generous timeouts cost nothing when all is
// well. Key paths are relative to HKEY_CURRENT_USER; names and values of the
// registry and control texts read with the A functions are ANSI bytes, all
// other texts are UTF-8.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// ---------------------------------------------------------------------------
// Timing

// The first start in a freshly created Wine prefix builds font caches and
// starts the desktop process, which has taken over ten seconds.
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kStepTimeoutMs = 10000;
constexpr DWORD kPollMs = 10;
// The step between two looks; a benchmark may want finer steps.
void SetPollInterval(DWORD ms);

// Brings up Wine's desktop process, so a fresh prefix builds its font caches
// now and not while a test waits for a dialog. False when this process cannot
// create a window at all (then no program of the session can; see the hint).
bool WarmUpDesktop();
extern const char kNoDesktopHint[];

// ---------------------------------------------------------------------------
// The executable under test (set once by main from its command line).

void SetExeUnderTest(const std::wstring& path);
const std::wstring& ExeUnderTest();

// ---------------------------------------------------------------------------
// Text

std::wstring Widen(std::string_view utf8);
std::string Utf8(std::wstring_view text);
// UTF-8 to the bytes of the ANSI code page (932 in the test prefix).
std::string ToAnsi(std::string_view utf8);
// "/unix/path" -> "Z:\unix\path"; Windows paths pass unchanged.
std::wstring WindowsPath(std::string_view path);

// ---------------------------------------------------------------------------
// Registry under HKEY_CURRENT_USER. Writes create missing keys.

struct RegValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValue& other) const {
        return type == other.type && data == other.data;
    }
    bool operator!=(const RegValue& other) const { return !(*this == other); }
};
std::ostream& operator<<(std::ostream& out, const RegValue& value);

bool SetDword(const char* key, const char* name, DWORD value);
// Stores REG_SZ with its terminating zero.
bool SetString(const char* key, const char* name, std::string_view ansi);
bool SetRaw(const char* key, const char* name, DWORD type, const void* data, std::size_t size);
// A REG_DWORD of four bytes, else nothing.
std::optional<DWORD> GetDword(const char* key, const char* name);
// A REG_SZ, without its terminating zero, else nothing.
std::optional<std::string> GetString(const char* key, const char* name);
std::optional<RegValue> GetRaw(const char* key, const char* name);
// Both succeed when there is nothing to delete.
bool DeleteValue(const char* key, const char* name);
bool DeleteKey(const char* key);  // with all its subkeys

// The values (not the subkeys) of one key; empty when the key is missing.
using RegSnapshot = std::map<std::string, RegValue>;
RegSnapshot Snapshot(const char* key);

// Makes a key read-only for the current user while it lives: an access-denied
// entry for the user's SID blocks setting values, creating subkeys and
// deleting, so opening the key with full access fails. Wine keeps key
// security in its server, not in the prefix, so a leftover entry lasts only
// as long as that wineserver; RemoveDenyEntries clears one anyway.
class ReadOnlyKey {
  public:
    explicit ReadOnlyKey(const char* key);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
    bool Applied() const { return applied_; }

  private:
    std::string key_;
    bool applied_ = false;
};
// Removes every access-denied entry for the current user from the key's DACL.
bool RemoveDenyEntries(const char* key);

// ---------------------------------------------------------------------------
// Windows of any process, read from outside.

std::string ClassName(HWND window);
std::string TextA(HWND window);   // WM_GETTEXT through the A function: ANSI bytes
std::wstring TextW(HWND window);  // WM_GETTEXT through the W function
std::string Text(HWND window);    // TextW as UTF-8
LONG Style(HWND window);
LONG ExStyle(HWND window);
int ControlIdOf(HWND window);
// Direct children in Z order, which for a dialog is template and tab order.
std::vector<HWND> Children(HWND parent);
// BM_GETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
int CheckState(HWND button);
// The items of a combo box's list, as ANSI bytes, in list order.
std::vector<std::string> ComboItems(HWND combo);
// The window that has the keyboard focus in the thread of the given window.
HWND FocusOf(HWND window);
// Top-level windows of a process (hidden ones too), of one class if given.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className = nullptr);

// A message box as the user sees it.
struct MessageBoxInfo {
    HWND window = nullptr;
    HWND owner = nullptr;
    bool ownerVisible = false;  // when the box was found
    std::string caption;        // UTF-8
    std::string text;           // UTF-8
    std::vector<int> buttons;   // ids of the visible push buttons, left to right
    bool icon = false;          // an icon is shown
};
std::ostream& operator<<(std::ostream& out, const MessageBoxInfo& box);
// A dialog-class window showing a message text (the standard message box).
bool IsMessageBox(HWND window);
MessageBoxInfo ReadMessageBox(HWND box);

// ---------------------------------------------------------------------------
// Scratch directories in the temporary folder, removed with their files.

class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::wstring& Path() const { return path_; }
    // Writes the bytes as they are (no line-end translation).
    bool WriteFile(const std::wstring& name, std::string_view bytes);
    bool CopyIn(const std::wstring& source, const std::wstring& name);

  private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// ---------------------------------------------------------------------------
// The running application.

struct LaunchOptions {
    // Runs a copy of the executable under this file name (e.g. L"Other.exe")
    // from a scratch folder; empty runs the executable under test itself.
    std::wstring exeName;
    // The process's current directory; empty gives it an empty scratch folder,
    // so no stray file there can change what the program reads.
    std::wstring workingDirectory;
};

// What happened while waiting for the program to settle.
struct Outcome {
    bool settled = false;               // shown, and every queued message handled
    bool exited = false;                // the process ended meanwhile
    std::vector<MessageBoxInfo> boxes;  // the boxes answered, in order
};
std::ostream& operator<<(std::ostream& out, const Outcome& outcome);

class App {
  public:
    explicit App(LaunchOptions options = {});
    // Ends the process if it still runs, then removes its scratch folders.
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Creates the process (once per App); returns at once, before the dialog is up.
    bool Start();
    DWORD ProcessId() const { return process_.dwProcessId; }
    bool Running() const;
    // True once the process has ended within the timeout; *exitCode is set then.
    bool WaitForExit(DWORD timeoutMs = kStepTimeoutMs, DWORD* exitCode = nullptr);

    // The main dialog ("Qeltrin Pro", unowned), shown or not yet; null if none.
    HWND MainDialog();
    HWND Item(int id);

    // Waits until the main dialog is shown and every message queued for the
    // program (posted clicks included) has been handled, answering each
    // message box that appears meanwhile with the given button; stacked boxes
    // are answered topmost first. A box that lacks that button is left open
    // and ends the wait unsettled. The queue is known to be drained when a
    // marker posted behind everything in it has been handled.
    Outcome Settle(int answer = IDOK, DWORD timeoutMs = kStartTimeoutMs);
    // Clicks a control as a user would (BM_CLICK posted to it), then Settle.
    Outcome Click(int id, int answer = IDOK, DWORD timeoutMs = kStepTimeoutMs);
    // Posts BM_CLICK and returns at once, for tests that answer boxes themselves.
    bool PostClick(int id);

    // The topmost (newest) open message box of the process, waiting for one
    // to appear. Boxes can show before the main dialog does.
    std::optional<MessageBoxInfo> WaitForMessageBox(DWORD timeoutMs = kStepTimeoutMs);
    // Every visible message box of the process, topmost first.
    std::vector<MessageBoxInfo> OpenMessageBoxes();
    // Presses the box's button (BM_CLICK) and waits until the box is gone.
    bool Answer(const MessageBoxInfo& box, int buttonId, DWORD timeoutMs = kStepTimeoutMs);

    // Input posted to the control that has the focus in the given top-level
    // window (the main dialog by default). These return once posted: follow
    // with Settle, or WaitForExit when the key ends the dialog.
    bool PressKey(WORD virtualKey, HWND window = nullptr);
    // Alt with a letter, as for a mnemonic "(&A)".
    bool PressAlt(char letter, HWND window = nullptr);
    // The close box: the system menu's close command.
    bool CloseBox();

    // Replaces the text of an edit box or a combo box's edit field by typing
    // it: the field is selected and cleared, then the UTF-8 text goes in as
    // WM_CHAR, so length limits apply as they do to a user.
    bool Type(int id, std::string_view utf8);
    // Sets the text directly through WM_SETTEXT with ANSI bytes.
    bool SetTextA(int id, std::string_view ansi);

    bool IsChecked(int id) { return CheckState(Item(id)) == BST_CHECKED; }
    bool IsEnabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    std::string TextA(int id) { return e2e::TextA(Item(id)); }
    std::string Text(int id) { return e2e::Text(Item(id)); }
    std::vector<std::string> ComboItems(int id) { return e2e::ComboItems(Item(id)); }

  private:
    std::optional<MessageBoxInfo> TopMessageBox();
    HWND QueueMarker();

    LaunchOptions options_;
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
    std::unique_ptr<ScratchDir> exeDir_;
    std::unique_ptr<ScratchDir> workDir_;
};

}  // namespace e2e
