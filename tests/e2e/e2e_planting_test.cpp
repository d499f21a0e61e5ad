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

namespace {

std::wstring Beside(const std::wstring& file, const wchar_t* name) {
    return file.substr(0, file.rfind(L'\\') + 1) + name;
}

TEST(Planting, NothingPlantedBesideTheExecutableOrInTheCurrentDirectoryRuns) {
    WineMachine machine;
    machine.Clean();
    const std::wstring bin = machine.Directory() + L"\\bin\\";
    const std::wstring standIn = Beside(VormetExe(), L"tests\\e2e\\planted.exe");
    std::vector<std::wstring> planted = {bin + L"Planted.exe", bin + L"loader.exe"};
    CreateDirectoryW(bin.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(VormetExe().c_str(), planted[0].c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(standIn.c_str(), planted[1].c_str(), FALSE));
    for (const std::wstring& dir : {bin, machine.Directory() + L"\\"}) {
        planted.push_back(dir + L"winhlp32.exe");
        ASSERT_TRUE(CopyFileW(standIn.c_str(), planted.back().c_str(), FALSE));
        for (const std::string library : {"wininet", "comctl32", "uxtheme"}) {
            planted.push_back(dir + std::wstring(library.begin(), library.end()) + L".dll");
            ASSERT_TRUE(
                CopyFileW(Beside(standIn, L"planted.dll").c_str(), planted.back().c_str(), FALSE));
            for (const std::string program : {"Planted.exe", "loader.exe"}) {
                const char kDiskFirst[] = "native,builtin";
                machine.SetValue(scenario::Root::kCurrentUser,
                                 "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides",
                                 library,
                                 scenario::RegValue{REG_SZ, {kDiskFirst, std::end(kDiskFirst)}});
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
    ASSERT_TRUE(DeleteFileW((bin + L"wininet.dll.ran").c_str()))
        << "a planted library is not picked up here: this test would prove nothing";

    machine.AddCacheEntry({"http://planting.example/", false});
    {
        WineDialog app(planted[0], machine.Directory());
        const std::vector<scenario::Box> boxes = app.Open({}).boxes;  // nothing stored
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0].caption, "Planted") << "not the name it was started under";
        app.Click(IDC_DELETE_TEMP_FILES, {IDYES});
        EXPECT_TRUE(machine.CacheEntries().empty()) << "not cleaned through the system's library";
        EXPECT_TRUE(app.PressF1().help);
        EXPECT_TRUE(app.Close(scenario::CloseBy::kEsc));
    }
    for (const std::wstring& file : planted) {
        EXPECT_EQ(GetFileAttributesW((file + L".ran").c_str()), INVALID_FILE_ATTRIBUTES)
            << "ran: " << std::string(file.begin(), file.end());
        DeleteFileW((file + L".ran").c_str());
        DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(bin.c_str());
    machine.Clean();
}

}  // namespace
