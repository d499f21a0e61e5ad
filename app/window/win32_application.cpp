#include "app/window/win32_application.h"

#include <utility>

#include "platform/win32_platform.h"
#include "platform/win32_encoding.h"

namespace {

// A path without its extension, and where its file name starts.
struct PathStem {
    std::wstring path;
    std::size_t nameStart = 0;
};

PathStem StemOf(std::wstring path) {
    PathStem stem{std::move(path)};
    const std::size_t slash = stem.path.find_last_of(L"\\/");
    stem.nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    // A dot that begins the file name begins no extension.
    const std::size_t dot = stem.path.rfind(L'.');
    if (dot != std::wstring::npos && dot > stem.nameStart) {
        stem.path.resize(dot);
    }
    return stem;
}

// The help viewer's window, by which WinHelp finds a running viewer.
constexpr char kHelpViewerClass[] = "MS_WINHELP";
constexpr DWORD kHelpViewerStartMs = 10000;

// Starts the viewer from one system folder; false when it is not there.
bool StartHelpViewerIn(UINT (*folder)(LPWSTR, UINT)) {
    wchar_t directory[MAX_PATH];
    const UINT length = folder(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    const std::wstring viewer = std::wstring(directory, length) + L"\\winhlp32.exe";
    std::wstring commandLine = L"\"" + viewer + L"\" -x";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(viewer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    const HandleOwner owner(process.hProcess);
    const HandleOwner thread(process.hThread);
    WaitForInputIdle(process.hProcess, kHelpViewerStartMs);
    return true;
}

// WinHelp starts a missing viewer by its bare name, and a bare name is looked
// for beside the executable and in the current directory before the system's
// folders: anyone could have left a program of that name there. So the viewer
// is started here, from the Windows directory (or, as Wine keeps it, the
// system directory), and WinHelp only finds it.
bool StartHelpViewer() {
    if (FindWindowA(kHelpViewerClass, nullptr) != nullptr) {
        return true;
    }
    const bool started = StartHelpViewerIn([](LPWSTR buffer, UINT size) {
                             return GetSystemWindowsDirectoryW(buffer, size);
                         }) ||
                         StartHelpViewerIn([](LPWSTR buffer, UINT size) {
                             return GetSystemDirectoryW(buffer, size);
                         });
    return started && FindWindowA(kHelpViewerClass, nullptr) != nullptr;
}

}  // namespace

std::wstring ApplicationTitle() {
    PathStem stem = StemOf(ExecutablePath());
    stem.path.erase(0, stem.nameStart);
    return std::move(stem.path);
}

std::optional<std::string> HelpFileOf(const std::wstring& executable) {
    if (executable.empty()) {
        return std::nullopt;
    }
    bool lost = false;
    std::string help = Narrow(StemOf(executable).path + L".HLP", CP_ACP, &lost);
    if (lost || help.size() >= MAX_PATH) {
        return std::nullopt;
    }
    return help;
}

void OpenApplicationHelp(HWND owner) {
    const std::optional<std::string> help = HelpFileOf(ExecutablePath());
    if (help && StartHelpViewer()) {
        WinHelpA(owner, help->c_str(), HELP_FINDER, 0);
    }
}
