// The real executables under Wine: every scenario, but those marked to run
// natively only, and programs started beside planted files.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/scenario/script.h"
#include "tests/support/wine.h"

namespace {

// A fresh machine, and both programs, to be started in its folder.
scenario::Drivers WineDrivers() {
    auto machine = std::make_unique<WineMachine>();
    auto dialog = std::make_unique<WineDialog>(VormetExe(), machine->Directory());
    auto cli = std::make_unique<WineCli>(CliExe(), machine->Directory());
    auto tray = std::make_unique<WineTray>(TrayExe(), machine->Directory());
    return {std::move(machine), std::move(dialog), std::move(cli), std::move(tray)};
}

const scenario::Platform kWine{WineDrivers, false};
INSTANTIATE_TEST_SUITE_P(Wine, DialogScenario, ::testing::Values(kWine));
INSTANTIATE_TEST_SUITE_P(Wine, CliScenario, ::testing::Values(kWine));
INSTANTIATE_TEST_SUITE_P(Wine, TrayScenario, ::testing::Values(kWine));

// One tray a session: a second start ends at once, and leaves the first.
TEST(Tray, ASecondStartEndsAtOnce) {
    WineMachine machine;
    machine.Clean();
    WineTray first(TrayExe(), machine.Directory());
    WineTray second(TrayExe(), machine.Directory());
    ASSERT_TRUE(first.Start());
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(first.Running());
}

// Libraries and a help viewer left under system names beside the programs and
// in their current directory are never run. Wine prefers its own libraries to
// files on disk, so a planted file would be ignored whatever the programs did:
// here they prefer files on disk for the planted names, and a loader without
// protection shows first that a planted library is picked up: a pass means
// something. The dialog's caption is the name of the copy it runs as.
TEST(Planting, NothingPlantedBesideTheProgramsOrInTheirCurrentDirectoryRuns) {
    WineMachine machine;
    machine.Clean();
    const std::wstring here = machine.Directory() + L"\\";
    const std::wstring bin = here + L"bin\\";
    const std::wstring standIn =  // planted.exe and planted.dll, built beside the tests
        VormetExe().substr(0, VormetExe().rfind(L'\\')) + L"\\tests\\e2e\\planted";
    std::vector<std::wstring> planted;
    const auto plant = [&planted](const std::wstring& from, const std::wstring& to) {
        planted.push_back(to);
        EXPECT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << planted.size();
    };
    CreateDirectoryW(bin.c_str(), nullptr);
    plant(VormetExe(), bin + L"Planted.exe");
    plant(CliExe(), bin + L"planted-cli.exe");
    plant(standIn + L".exe", bin + L"loader.exe");
    for (const std::wstring& folder : {bin, here}) {
        plant(standIn + L".exe", folder + L"winhlp32.exe");
        for (const std::string library : {"wininet", "comctl32", "uxtheme"}) {
            plant(standIn + L".dll",
                  folder + std::wstring(library.begin(), library.end()) + L".dll");
            for (const std::string program : {"Planted.exe", "planted-cli.exe", "loader.exe"}) {
                machine.SetValue(kHkeyCurrentUser,
                                 "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides",
                                 library, scenario::Sz("native,builtin"));
            }
        }
    }
    WineCli(bin + L"loader.exe", here).Run({"load", "wininet.dll"}, "");
    ASSERT_TRUE(DeleteFileW((bin + L"wininet.dll.ran").c_str()))
        << "a planted library is not picked up here: this test would prove nothing";

    machine.AddCacheEntry({"http://planting.example/", false});
    WineDialog dialog(bin + L"Planted.exe", here);
    const std::vector<scenario::Box> boxes = dialog.Open({}).boxes;  // nothing stored
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].caption, "Planted");
    dialog.Click(IDC_DELETE_TEMP_FILES, {IDYES});
    EXPECT_TRUE(machine.CacheEntries().empty()) << "not cleaned through the system's library";
    EXPECT_TRUE(dialog.PressF1().help);
    EXPECT_TRUE(dialog.Close(scenario::CloseBy::kEsc));
    machine.AddCacheEntry({"http://planting.example/", false});
    WineCli cli(bin + L"planted-cli.exe", here);
    EXPECT_EQ(cli.Run({"cache", "clean", "temporary", "--yes"}, "").exitCode, 0);
    EXPECT_TRUE(machine.CacheEntries().empty()) << "not cleaned through the system's library";

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
