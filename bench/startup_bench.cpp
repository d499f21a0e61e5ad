// Start-up time of Vormet.exe, from process creation to the settled dialog
// (shown, and every click posted at start-up handled), against Wine's own
// internet settings panel (control inetcpl.cpl) from process creation to its
// window. Runs alternate, after one warm-up run of each, so both see the same
// warm wineserver and caches. Prints figures; judges nothing.
//
//   startup_bench <path of Vormet.exe> [runs per program, default 7]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/wine_dialog.h"
#include "tests/support/wine_machine.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;

double NowMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

// The buttons the start-up values check; all must be checked once settled.
constexpr int kReflected[] = {IDC_SCRIPT_DISALLOW, IDC_APPLET_ALLOW, IDC_JAVA_MEDIUM,
                              IDC_COOKIE_DISALLOW, IDC_SESSION_ALLOW};

struct DialogTimes {
    double shown;    // the window is visible
    double settled;  // and every click posted at start-up has been handled
};

std::optional<DialogTimes> TimeDialog(const std::wstring& exe, const std::wstring& directory) {
    WineDialog app(exe, directory);
    const double start = NowMs();
    if (!app.Start()) {
        std::fprintf(stderr, "could not start the executable\n");
        return std::nullopt;
    }
    // The same end point as the panel's, before the dialog's own settling.
    for (HWND dialog = nullptr; NowMs() - start < kTimeoutMs; Sleep(1)) {
        dialog = app.Main();
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            break;
        }
    }
    const double shown = NowMs() - start;
    bool complete = app.Settle({}).boxes.empty();
    const double elapsed = NowMs() - start;
    for (const int id : kReflected) {
        complete = complete && app.Checked(id);
    }
    complete = app.Close(scenario::CloseBy::kEsc) && complete;
    if (!complete) {
        std::fprintf(stderr, "the dialog did not settle as expected\n");
        return std::nullopt;
    }
    return DialogTimes{shown, elapsed};
}

std::optional<double> TimePanel() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring control = std::wstring(system) + L"\\control.exe";
    std::wstring commandLine = L"control.exe inetcpl.cpl";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = NowMs();
    if (!CreateProcessW(control.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "could not start control.exe\n");
        return std::nullopt;
    }
    HWND window = nullptr;
    while (window == nullptr && NowMs() - start < kTimeoutMs &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        for (HWND candidate = nullptr;
             (candidate = FindWindowExW(nullptr, candidate, L"#32770", nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (owner == process.dwProcessId && IsWindowVisible(candidate)) {
                window = candidate;
            }
        }
        if (window == nullptr) {
            Sleep(1);
        }
    }
    const double elapsed = NowMs() - start;
    if (window != nullptr) {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kTimeoutMs);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (window == nullptr) {
        std::fprintf(stderr, "the settings panel did not show a window\n");
        return std::nullopt;
    }
    return elapsed;
}

struct Summary {
    double min;
    double median;
    double max;
};

Summary Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {times.front(), median, times.back()};
}

void Print(const char* name, const Summary& s, std::size_t runs) {
    std::printf("%-34s min %7.1f ms  median %7.1f ms  max %7.1f ms  (%zu runs)\n", name, s.min,
                s.median, s.max, runs);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench <path of Vormet.exe> [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(5, std::atoi(argv[2])) : 7;
    std::wstring exe = L"Z:";  // where Wine shows the Unix root
    for (const char* c = argv[1]; *c != '\0'; ++c) {
        exe += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }

    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &attributes)) {
        const ULONGLONG size =
            (ULONGLONG{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
        std::printf("Vormet.exe size: %llu bytes (%.1f KiB)\n", size, size / 1024.0);
    }
    // Every value readable, so the dialog opens without a box.
    WineMachine machine;
    machine.Clean();
    const std::pair<const char*, std::uint32_t> zone[] = {
        {"1400", 3}, {"1402", 0}, {"1C00", 0x20000}, {"1A02", 3}, {"1A03", 0}};
    for (const auto& [name, value] : zone) {
        scenario::RegValue dword{REG_DWORD, std::vector<std::uint8_t>(4)};
        std::memcpy(dword.bytes.data(), &value, 4);
        machine.SetValue(scenario::Root::kCurrentUser, kZoneKey, name, dword);
    }
    machine.SetValue(scenario::Root::kCurrentUser, kSettingsKey, "ProxyEnable",
                     scenario::RegValue{REG_DWORD, {0, 0, 0, 0}});

    // Warm-up: loads both programs' DLLs and fonts into the caches.
    if (!TimeDialog(exe, machine.Directory()) || !TimePanel()) {
        return 1;
    }
    std::vector<double> shown;
    std::vector<double> dialog;
    std::vector<double> panel;
    for (int i = 0; i < runs; ++i) {
        const std::optional<DialogTimes> a = TimeDialog(exe, machine.Directory());
        const std::optional<double> b = TimePanel();
        if (!a || !b) {
            return 1;
        }
        shown.push_back(a->shown);
        dialog.push_back(a->settled);
        panel.push_back(*b);
    }
    const Summary ours = Summarise(dialog);
    const Summary ourWindow = Summarise(shown);
    const Summary theirs = Summarise(panel);
    Print("Vormet.exe to its window", ourWindow, shown.size());
    Print("Vormet.exe to settled dialog", ours, dialog.size());
    Print("control inetcpl.cpl to its window", theirs, panel.size());
    std::printf("ratio of medians, window (Vormet / inetcpl): %.2f\n",
                ourWindow.median / theirs.median);
    std::printf("ratio of medians, settled (Vormet / inetcpl): %.2f\n",
                ours.median / theirs.median);
    return 0;
}
