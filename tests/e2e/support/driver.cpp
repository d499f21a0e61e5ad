#include "tests/e2e/support/driver.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace e2e {

namespace {

std::wstring g_exe;
DWORD g_pollMs = kPollMs;

void Pause() {
    Sleep(g_pollMs);
}

// Deadline arithmetic that cannot wrap.
class Deadline {
  public:
    explicit Deadline(DWORD timeoutMs) : end_(GetTickCount64() + timeoutMs) {}
    bool Passed() const { return GetTickCount64() >= end_; }
    DWORD Left() const {
        const ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }

  private:
    ULONGLONG end_;
};

// Sends to a window of another process without hanging on a stuck one.
LRESULT Ask(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL, kStepTimeoutMs, &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

class Key {
  public:
    Key() = default;
    ~Key() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

bool OpenKey(const char* path, REGSAM access, Key& key) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, key.Out()) == ERROR_SUCCESS;
}

bool CreateKey(const char* path, Key& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                           key.Out(), nullptr) == ERROR_SUCCESS;
}

// The current user's SID, as the token gives it.
std::vector<std::uint8_t> UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> buffer(size);
    std::vector<std::uint8_t> sid;
    if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
        const auto* bytes = static_cast<const std::uint8_t*>(user);
        sid.assign(bytes, bytes + GetLengthSid(user));
    }
    CloseHandle(token);
    return sid;
}

constexpr DWORD kDeniedWrites =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_OWNER;
// WRITE_DAC stays allowed: without it the entry could not be taken out again.

bool IsDenyFor(const ACE_HEADER* ace, PSID sid) {
    return ace->AceType == ACCESS_DENIED_ACE_TYPE &&
           EqualSid(const_cast<DWORD*>(&reinterpret_cast<const ACCESS_DENIED_ACE*>(ace)->SidStart),
                    sid);
}

// Rewrites a key's DACL without the user's access-denied entries and, when
// `deny`, with a new one in front, where it takes precedence.
bool RewriteUserDeny(const char* path, bool deny) {
    std::vector<std::uint8_t> sid = UserSid();
    Key key;
    if (sid.empty() || !OpenKey(path, READ_CONTROL | WRITE_DAC, key)) {
        return false;
    }
    DWORD size = 0;
    RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<std::uint8_t> old(std::max<DWORD>(size, sizeof(SECURITY_DESCRIPTOR)));
    size = static_cast<DWORD>(old.size());
    if (RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, old.data(), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(old.data(), &present, &dacl, &defaulted);
    const bool hasDacl = present && dacl != nullptr;

    const PSID user = sid.data();
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        return false;
    }
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_DENIED_ACE) + GetLengthSid(user) +
                          sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone) +
                          (hasDacl ? dacl->AclSize : 0);
    std::vector<std::uint8_t> aclBytes(aclSize);
    const auto acl = reinterpret_cast<PACL>(aclBytes.data());
    bool ok = InitializeAcl(acl, aclSize, ACL_REVISION) != FALSE;
    if (ok && deny) {
        ok = AddAccessDeniedAce(acl, ACL_REVISION, kDeniedWrites, user) != FALSE;
    }
    DWORD dropped = 0;
    if (hasDacl) {
        for (DWORD i = 0; ok && i < dacl->AceCount; ++i) {
            void* ace = nullptr;
            if (!GetAce(dacl, i, &ace)) {
                continue;
            }
            const auto* header = static_cast<const ACE_HEADER*>(ace);
            if (IsDenyFor(header, user)) {
                ++dropped;
                continue;
            }
            ok = AddAce(acl, ACL_REVISION, MAXDWORD, ace, header->AceSize) != FALSE;
        }
    } else if (ok) {
        // No DACL meant full access for everyone; say so explicitly.
        ok = AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone) != FALSE;
    }
    FreeSid(everyone);
    if (!deny && dropped == 0) {
        return ok;  // nothing to take out: leave the key's security as it was
    }
    SECURITY_DESCRIPTOR descriptor;
    ok = ok && InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
         SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    return ok &&
           RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

std::wstring TempRoot() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, length);
}

bool IsPushButton(HWND window) {
    if (ClassName(window) != "Button") {
        return false;
    }
    const LONG type = Style(window) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The static that shows a message box's text (the same id on Windows and Wine).
constexpr int kMessageTextId = 0xFFFF;

}  // namespace

// ---------------------------------------------------------------------------

const char kNoDesktopHint[] =
    "cannot create a window: Wine's desktop process (explorer.exe /desktop) of this "
    "wineserver runs without a display, e.g. started by a wine call made before Xvfb was up; "
    "end that wineserver (wineserver -k) and run again";

bool WarmUpDesktop() {
    const HWND window = CreateWindowExW(0, L"STATIC", L"warm-up", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return false;
    }
    DestroyWindow(window);
    return true;
}

void SetPollInterval(DWORD ms) {
    g_pollMs = ms;
}

void SetExeUnderTest(const std::wstring& path) {
    g_exe = path;
}

const std::wstring& ExeUnderTest() {
    return g_exe;
}

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

namespace {

std::string Narrow(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::string Utf8(std::wstring_view text) {
    return Narrow(text, CP_UTF8);
}

std::string ToAnsi(std::string_view utf8) {
    return Narrow(Widen(utf8), CP_ACP);
}

std::wstring WindowsPath(std::string_view path) {
    std::wstring wide;
    if (!path.empty() && path.front() == '/') {
        wide = L"Z:";
    }
    for (const wchar_t c : Widen(path)) {
        wide += c == L'/' ? L'\\' : c;
    }
    return wide;
}

// ---------------------------------------------------------------------------

std::ostream& operator<<(std::ostream& out, const RegValue& value) {
    out << "type " << value.type << ", bytes {";
    const char* separator = "";
    for (const std::uint8_t byte : value.data) {
        out << separator << static_cast<unsigned>(byte);
        separator = ", ";
    }
    return out << "}";
}

bool SetRaw(const char* key, const char* name, DWORD type, const void* data, std::size_t size) {
    Key opened;
    return CreateKey(key, opened) &&
           RegSetValueExA(opened.Get(), name, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool SetDword(const char* key, const char* name, DWORD value) {
    return SetRaw(key, name, REG_DWORD, &value, sizeof value);
}

bool SetString(const char* key, const char* name, std::string_view ansi) {
    const std::string text(ansi);
    return SetRaw(key, name, REG_SZ, text.c_str(), text.size() + 1);
}

std::optional<RegValue> GetRaw(const char* key, const char* name) {
    Key opened;
    if (!OpenKey(key, KEY_QUERY_VALUE, opened)) {
        return std::nullopt;
    }
    RegValue value;
    DWORD size = 0;
    if (RegQueryValueExA(opened.Get(), name, nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (RegQueryValueExA(opened.Get(), name, nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<DWORD> GetDword(const char* key, const char* name) {
    const std::optional<RegValue> raw = GetRaw(key, name);
    if (!raw || raw->type != REG_DWORD || raw->data.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD value = 0;
    std::copy(raw->data.begin(), raw->data.end(), reinterpret_cast<std::uint8_t*>(&value));
    return value;
}

std::optional<std::string> GetString(const char* key, const char* name) {
    const std::optional<RegValue> raw = GetRaw(key, name);
    if (!raw || raw->type != REG_SZ) {
        return std::nullopt;
    }
    std::string text(raw->data.begin(), raw->data.end());
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

bool DeleteValue(const char* key, const char* name) {
    Key opened;
    if (!OpenKey(key, KEY_SET_VALUE, opened)) {
        return RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, opened.Out()) ==
               ERROR_FILE_NOT_FOUND;
    }
    const LSTATUS status = RegDeleteValueA(opened.Get(), name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteKey(const char* key) {
    const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, key);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    // RegDeleteTree empties the key; the key itself goes separately.
    const LSTATUS removed = RegDeleteKeyA(HKEY_CURRENT_USER, key);
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}

RegSnapshot Snapshot(const char* key) {
    RegSnapshot values;
    Key opened;
    if (!OpenKey(key, KEY_QUERY_VALUE, opened)) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        RegValue value;
        DWORD size = 0;
        if (RegEnumValueA(opened.Get(), index, name, &nameLength, nullptr, &value.type, nullptr,
                          &size) != ERROR_SUCCESS) {
            break;
        }
        value.data.resize(size);
        nameLength = sizeof name;
        if (RegEnumValueA(opened.Get(), index, name, &nameLength, nullptr, &value.type,
                          value.data.data(), &size) != ERROR_SUCCESS) {
            break;
        }
        value.data.resize(size);
        values.emplace(std::string(name, nameLength), std::move(value));
    }
    return values;
}

ReadOnlyKey::ReadOnlyKey(const char* key) : key_(key) {
    applied_ = RewriteUserDeny(key, true);
}

ReadOnlyKey::~ReadOnlyKey() {
    if (applied_) {
        RemoveDenyEntries(key_.c_str());
    }
}

bool RemoveDenyEntries(const char* key) {
    return RewriteUserDeny(key, false);
}

// ---------------------------------------------------------------------------

std::string ClassName(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string TextA(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kStepTimeoutMs,
                             &length)) {
        return {};
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, kStepTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

std::wstring TextW(HWND window) {
    const auto length = static_cast<std::size_t>(Ask(window, WM_GETTEXTLENGTH));
    std::wstring text(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return text;
}

std::string Text(HWND window) {
    return Utf8(TextW(window));
}

LONG Style(HWND window) {
    return GetWindowLongW(window, GWL_STYLE);
}

LONG ExStyle(HWND window) {
    return GetWindowLongW(window, GWL_EXSTYLE);
}

int ControlIdOf(HWND window) {
    return static_cast<int>(GetWindowLongPtrW(window, GWLP_ID));
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

int CheckState(HWND button) {
    return static_cast<int>(Ask(button, BM_GETCHECK));
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(Ask(combo, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutA(combo, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, kStepTimeoutMs, &length);
        std::string item(length + 1, '\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()),
                            SMTO_NORMAL, kStepTimeoutMs, &copied);
        item.resize(std::min<std::size_t>(copied, length));
        items.push_back(std::move(item));
    }
    return items;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className) {
    struct Search {
        DWORD processId;
        const char* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId &&
                (s.className == nullptr || ClassName(window) == s.className)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsMessageBox(HWND window) {
    return ClassName(window) == "#32770" && GetDlgItem(window, kMessageTextId) != nullptr;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.window = box;
    info.owner = GetWindow(box, GW_OWNER);
    info.ownerVisible = info.owner != nullptr && IsWindowVisible(info.owner);
    info.caption = Text(box);
    info.text = Text(GetDlgItem(box, kMessageTextId));
    std::vector<std::pair<LONG, int>> buttons;
    for (const HWND child : Children(box)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        if (IsPushButton(child)) {
            RECT rect;
            GetWindowRect(child, &rect);
            buttons.emplace_back(rect.left, ControlIdOf(child));
        } else if (ClassName(child) == "Static" && (Style(child) & SS_TYPEMASK) == SS_ICON &&
                   Ask(child, STM_GETICON) != 0) {
            info.icon = true;
        }
    }
    std::sort(buttons.begin(), buttons.end());
    for (const auto& button : buttons) {
        info.buttons.push_back(button.second);
    }
    return info;
}

std::ostream& operator<<(std::ostream& out, const MessageBoxInfo& box) {
    out << "[" << box.caption << "] \"" << box.text << "\" buttons {";
    const char* separator = "";
    for (const int id : box.buttons) {
        out << separator << id;
        separator = ", ";
    }
    return out << "}" << (box.icon ? " with icon" : "");
}

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    out << (outcome.settled  ? "settled"
            : outcome.exited ? "exited"
                             : "not settled")
        << ", " << outcome.boxes.size() << " box(es)";
    for (const MessageBoxInfo& box : outcome.boxes) {
        out << "\n  " << box;
    }
    return out;
}

// ---------------------------------------------------------------------------

ScratchDir::ScratchDir() {
    static LONG counter = 0;
    const std::wstring root = TempRoot();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::wstring candidate = root + L"qeltrin-e2e-" +
                                       std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
        }
    }
}

ScratchDir::~ScratchDir() {
    for (const std::wstring& file : files_) {
        // The program may still be letting go of its image for a moment.
        for (int i = 0;
             i < 50 && !DeleteFileW(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND; ++i) {
            Pause();
        }
    }
    if (!path_.empty()) {
        RemoveDirectoryW(path_.c_str());
    }
}

bool ScratchDir::WriteFile(const std::wstring& name, std::string_view bytes) {
    const std::wstring file = path_ + L"\\" + name;
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    files_.push_back(file);
    DWORD written = 0;
    const bool ok =
        ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(handle);
    return ok;
}

bool ScratchDir::CopyIn(const std::wstring& source, const std::wstring& name) {
    const std::wstring file = path_ + L"\\" + name;
    if (!CopyFileW(source.c_str(), file.c_str(), FALSE)) {
        return false;
    }
    files_.push_back(file);
    return true;
}

// ---------------------------------------------------------------------------

App::App(LaunchOptions options) : options_(std::move(options)) {}

App::~App() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, kStepTimeoutMs);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool App::Start() {
    if (process_.hProcess != nullptr) {
        return false;  // one process per App
    }
    std::wstring exe = ExeUnderTest();
    if (!options_.exeName.empty()) {
        exeDir_ = std::make_unique<ScratchDir>();
        if (!exeDir_->CopyIn(exe, options_.exeName)) {
            return false;
        }
        exe = exeDir_->Path() + L"\\" + options_.exeName;
    }
    std::wstring directory = options_.workingDirectory;
    if (directory.empty()) {
        workDir_ = std::make_unique<ScratchDir>();
        directory = workDir_->Path();
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &process_) != FALSE;
}

bool App::Running() const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool App::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (process_.hProcess == nullptr ||
        WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(process_.hProcess, exitCode);
    }
    return true;
}

HWND App::MainDialog() {
    if (dialog_ != nullptr && IsWindow(dialog_)) {
        return dialog_;
    }
    dialog_ = nullptr;
    for (const HWND window : TopLevelWindows(process_.dwProcessId, "#32770")) {
        // The stored caption: GetWindowText sends nothing to another process,
        // so a dialog still busy setting itself up cannot hold the look-up.
        wchar_t caption[32] = {};
        GetWindowTextW(window, caption, 32);
        if (GetWindow(window, GW_OWNER) == nullptr && std::wcscmp(caption, L"Qeltrin Pro") == 0) {
            dialog_ = window;
            break;
        }
    }
    return dialog_;
}

HWND App::Item(int id) {
    const HWND dialog = MainDialog();
    return dialog == nullptr ? nullptr : GetDlgItem(dialog, id);
}

std::vector<MessageBoxInfo> App::OpenMessageBoxes() {
    std::vector<MessageBoxInfo> boxes;
    for (const HWND window : TopLevelWindows(process_.dwProcessId, "#32770")) {
        if (IsWindowVisible(window) && IsMessageBox(window)) {
            boxes.push_back(ReadMessageBox(window));
        }
    }
    return boxes;
}

std::optional<MessageBoxInfo> App::TopMessageBox() {
    // Windows are enumerated from the top of the Z order down, so a box
    // stacked over another comes first and is answered first, as it must be.
    for (const HWND window : TopLevelWindows(process_.dwProcessId, "#32770")) {
        if (IsWindowVisible(window) && IsMessageBox(window)) {
            return ReadMessageBox(window);
        }
    }
    return std::nullopt;
}

std::optional<MessageBoxInfo> App::WaitForMessageBox(DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    for (;;) {
        if (std::optional<MessageBoxInfo> box = TopMessageBox()) {
            return box;
        }
        if (deadline.Passed() || !Running()) {
            return std::nullopt;
        }
        Pause();
    }
}

bool App::Answer(const MessageBoxInfo& box, int buttonId, DWORD timeoutMs) {
    const HWND button = GetDlgItem(box.window, buttonId);
    if (button == nullptr || !PostMessageW(button, BM_CLICK, 0, 0)) {
        return false;
    }
    // Ending a box hides it at once; it is destroyed when its loop unwinds,
    // which for a box under another one happens only later.
    const Deadline deadline(timeoutMs);
    while (IsWindow(box.window) && IsWindowVisible(box.window)) {
        if (deadline.Passed()) {
            return false;
        }
        Pause();
    }
    return true;
}

// A group box of the main dialog. Its pushed state is invisible and drives
// nothing, so posting BM_SETSTATE to it and seeing the state change tells that
// the program has handled everything queued before it.
HWND App::QueueMarker() {
    const HWND dialog = MainDialog();
    if (dialog == nullptr) {
        return nullptr;
    }
    for (const HWND child : Children(dialog)) {
        if (ClassName(child) == "Button" && (Style(child) & BS_TYPEMASK) == BS_GROUPBOX) {
            return child;
        }
    }
    return nullptr;
}

Outcome App::Settle(int answer, DWORD timeoutMs) {
    Outcome outcome;
    const Deadline deadline(timeoutMs);
    HWND marker = nullptr;  // set while a marker is on its way through the queue
    while (!deadline.Passed()) {
        if (!Running()) {
            outcome.exited = true;
            return outcome;
        }
        if (std::optional<MessageBoxInfo> box = TopMessageBox()) {
            outcome.boxes.push_back(*box);
            const bool answerable =
                std::find(box->buttons.begin(), box->buttons.end(), answer) != box->buttons.end();
            if (!answerable || !Answer(*box, answer, deadline.Left())) {
                return outcome;
            }
            marker = nullptr;  // what the answer set off must be waited for too
            continue;
        }
        const HWND dialog = MainDialog();
        if (dialog == nullptr || !IsWindowVisible(dialog)) {
            Pause();
            continue;
        }
        if (marker == nullptr) {
            marker = QueueMarker();
            if (marker == nullptr) {
                outcome.settled = true;  // nothing to probe the queue with: shown is all we know
                return outcome;
            }
            Ask(marker, BM_SETSTATE, FALSE);
            PostMessageW(marker, BM_SETSTATE, TRUE, 0);
            continue;
        }
        if ((Ask(marker, BM_GETSTATE) & BST_PUSHED) != 0) {
            Ask(marker, BM_SETSTATE, FALSE);
            if (TopMessageBox()) {
                marker = nullptr;
                continue;
            }
            outcome.settled = true;
            return outcome;
        }
        Pause();
    }
    return outcome;
}

bool App::PostClick(int id) {
    const HWND item = Item(id);
    return item != nullptr && PostMessageW(item, BM_CLICK, 0, 0);
}

Outcome App::Click(int id, int answer, DWORD timeoutMs) {
    if (!PostClick(id)) {
        return {};
    }
    return Settle(answer, timeoutMs);
}

namespace {

HWND KeyTarget(HWND window) {
    const HWND focus = FocusOf(window);
    return focus != nullptr && (focus == window || IsChild(window, focus)) ? focus : window;
}

}  // namespace

bool App::PressKey(WORD virtualKey, HWND window) {
    const HWND top = window != nullptr ? window : MainDialog();
    if (top == nullptr) {
        return false;
    }
    const HWND target = KeyTarget(top);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    return PostMessageW(target, WM_KEYDOWN, virtualKey, scan | 1) &&
           PostMessageW(target, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

bool App::PressAlt(char letter, HWND window) {
    const HWND top = window != nullptr ? window : MainDialog();
    if (top == nullptr) {
        return false;
    }
    constexpr LPARAM kAltDown = LPARAM{1} << 29;
    return PostMessageW(KeyTarget(top), WM_SYSCHAR, static_cast<WPARAM>(letter), kAltDown | 1);
}

bool App::CloseBox() {
    const HWND dialog = MainDialog();
    return dialog != nullptr && PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool App::Type(int id, std::string_view utf8) {
    HWND field = Item(id);
    if (field != nullptr && ClassName(field) == "ComboBox") {
        field = FindWindowExW(field, nullptr, L"Edit", nullptr);
    }
    if (field == nullptr) {
        return false;
    }
    Ask(field, EM_SETSEL, 0, -1);
    Ask(field, WM_CLEAR);
    for (const wchar_t c : Widen(utf8)) {
        Ask(field, WM_CHAR, c, 1);
    }
    return true;
}

bool App::SetTextA(int id, std::string_view ansi) {
    const HWND item = Item(id);
    const std::string text(ansi);
    DWORD_PTR result = 0;
    return item != nullptr &&
           SendMessageTimeoutA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_NORMAL, kStepTimeoutMs, &result) &&
           result != 0;
}

}  // namespace e2e
