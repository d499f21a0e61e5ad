// The real executable, started and driven from outside as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring g_exe;  // the executable under test, as a Windows path

std::wstring ToWindowsPath(const char* path) {
    std::wstring wide;
    for (const char* p = path; *p != '\0'; ++p) {
        wide += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    }
    return path[0] == '/' ? L"Z:" + wide : wide;
}

struct Running {
    PROCESS_INFORMATION process{};
    HWND dialog = nullptr;
    ~Running() {
        if (process.hProcess != nullptr) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 1);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

HWND FindDialogOf(DWORD processId) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            wchar_t title[64] = {};
            GetWindowTextW(hwnd, title, 64);
            if (pid == s->pid && IsWindowVisible(hwnd) && std::wstring(title) == L"Qeltrin Pro") {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Start(Running& run) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + g_exe + L"\"";
    ASSERT_TRUE(CreateProcessW(g_exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &run.process));
    for (int i = 0; i < 200 && run.dialog == nullptr; ++i) {
        Sleep(50);
        run.dialog = FindDialogOf(run.process.dwProcessId);
    }
    ASSERT_NE(run.dialog, nullptr) << "the main dialog did not appear";
}

TEST(MainDialog, EscEndsTheProcess) {
    Running run;
    Start(run);
    PostMessageW(run.dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(WaitForSingleObject(run.process.hProcess, 10000), WAIT_OBJECT_0);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: e2e_tests <path of the executable>\n");
        return 2;
    }
    g_exe = ToWindowsPath(argv[1]);
    return RUN_ALL_TESTS();
}
