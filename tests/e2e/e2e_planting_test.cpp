// Libraries and a help viewer left under system names beside the executable
// and in its current directory are never run.
//
// Wine prefers its own libraries to files on disk, so a planted file would be
// ignored whatever the program did. Here the programs prefer files on disk for
// the planted names, and a loader without protection shows first that a
// planted library is picked up in that setting: a pass means something.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/e2e/wine_dialog.h"
#include "tests/support/wine_machine.h"
#include "tests/support/wine_url_cache.h"

namespace {

const std::wstring kLibraries[] = {L"wininet", L"comctl32", L"uxtheme"};
const char kNativeFirst[] = "native,builtin";
const scenario::RegValue kDiskFirst{REG_SZ, {kNativeFirst, kNativeFirst + sizeof kNativeFirst}};

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Beside(const std::wstring& exe, const wchar_t* name) {
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + name;
}

TEST(Planting, NothingPlantedBesideTheExecutableOrInTheCurrentDirectoryRuns) {
    WineMachine machine;
    machine.Clean();
    const std::wstring bin = machine.Directory() + L"\\bin";
    CreateDirectoryW(bin.c_str(), nullptr);
    std::vector<std::wstring> planted = {bin + L"\\Planted.exe", bin + L"\\loader.exe"};
    ASSERT_TRUE(CopyFileW(VormetExe().c_str(), planted[0].c_str(), FALSE));
    const std::wstring standIn = Beside(VormetExe(), L"tests\\e2e\\planted.exe");
    ASSERT_TRUE(CopyFileW(standIn.c_str(), planted[1].c_str(), FALSE));
    for (const std::wstring& dir : {bin, machine.Directory()}) {
        planted.push_back(dir + L"\\winhlp32.exe");
        ASSERT_TRUE(CopyFileW(standIn.c_str(), planted.back().c_str(), FALSE));
        for (const std::wstring& library : kLibraries) {
            planted.push_back(dir + L"\\" + library + L".dll");
            ASSERT_TRUE(CopyFileW(Beside(standIn, L"planted.dll").c_str(),
                                  planted.back().c_str(), FALSE));
            for (const char* program : {"Planted.exe", "loader.exe"}) {
                const std::string key = std::string("Software\\Wine\\AppDefaults\\") + program;
                machine.SetValue(scenario::Root::kCurrentUser, key + "\\DllOverrides",
                                 std::string(library.begin(), library.end()), kDiskFirst);
            }
        }
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION loader{};
    std::wstring commandLine = L"loader.exe load wininet.dll";
    ASSERT_TRUE(CreateProcessW(planted[1].c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, machine.Directory().c_str(), &startup, &loader));
    WaitForSingleObject(loader.hProcess, 10000);
    CloseHandle(loader.hProcess);
    CloseHandle(loader.hThread);
    ASSERT_TRUE(DeleteFileW((bin + L"\\wininet.dll.ran").c_str()))
        << "a planted library is not picked up here: this test would prove nothing";

    machine.AddCacheEntry({"http://planting.example/", false});
    {
        WineDialog app(planted[0], machine.Directory());
        app.Open({});
        app.Click(IDC_DELETE_TEMP_FILES, {IDYES});
        EXPECT_TRUE(machine.CacheEntries().empty()) << "not cleaned through the system's library";
        PostMessageW(app.Main(), 0x004D, 0, 0);  // WM_KEYF1: what the system makes of F1
        HWND viewer = nullptr;
        for (int i = 0; i < 1000 && (viewer = FindWindowW(L"MS_WINHELP", nullptr)) == nullptr; ++i) {
            Sleep(10);
        }
        EXPECT_NE(viewer, nullptr) << "no help viewer";
        PostMessageW(viewer, WM_CLOSE, 0, 0);
        EXPECT_TRUE(app.Close(scenario::CloseBy::kEsc));
    }
    for (const std::wstring& file : planted) {
        EXPECT_FALSE(Exists(file + L".ran")) << "ran: " << file;
        DeleteFileW((file + L".ran").c_str());
        DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(bin.c_str());
    machine.Clean();
}

}  // namespace
