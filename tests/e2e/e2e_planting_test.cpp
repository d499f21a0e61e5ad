// Libraries planted under system names beside the executable and in its
// current directory are never loaded, and the delete buttons still clean the
// cache through the system's own library.
//
// Wine prefers its builtin libraries to files on disk, so a planted file would
// be ignored whatever the program did. Here the programs run with the files on
// disk preferred for the planted names, and a program without protection,
// run first in the same setting, shows that the planted library is picked up
// there: a pass of the program under test then means something.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/support/driver.h"
#include "tests/e2e/support/startup_values.h"
#include "tests/support/wine_url_cache.h"

namespace {

// The names tried: the URL cache library, the common controls, and a library
// the common controls load in turn.
constexpr std::array<const wchar_t*, 3> kPlantedNames = {L"wininet.dll", L"comctl32.dll",
                                                         L"uxtheme.dll"};

std::wstring BesideThisTest(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    directory.resize(directory.find_last_of(L'\\') + 1);
    return directory + name;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Marker(const e2e::ScratchDir& dir, const wchar_t* name) {
    return dir.Path() + L"\\" + name + L".loaded";
}

// Plants the library under every name; markers left over are removed when the
// folder goes, so that it can go.
class PlantedDir {
  public:
    PlantedDir() {
        for (const wchar_t* name : kPlantedNames) {
            planted_ = dir_.CopyIn(BesideThisTest(L"planted_library.dll"), name) && planted_;
        }
    }
    ~PlantedDir() {
        for (const wchar_t* name : kPlantedNames) {
            DeleteFileW(Marker(dir_, name).c_str());
        }
    }
    PlantedDir(const PlantedDir&) = delete;
    PlantedDir& operator=(const PlantedDir&) = delete;

    bool Planted() const { return planted_; }
    e2e::ScratchDir& Dir() { return dir_; }
    // The planted names whose library was loaded by someone.
    std::wstring Loaded() const {
        std::wstring loaded;
        for (const wchar_t* name : kPlantedNames) {
            if (Exists(Marker(dir_, name))) {
                loaded += std::wstring(name) + L" ";
            }
        }
        return loaded;
    }

  private:
    e2e::ScratchDir dir_;
    bool planted_ = true;
};

// While it lives, the named programs prefer a library file on disk to Wine's
// own for the planted names. Wine takes this from its per-program settings in
// the registry; the environment of a process started from here would not do.
class PreferFilesOnDisk {
  public:
    explicit PreferFilesOnDisk(std::vector<std::string> programs) : programs_(std::move(programs)) {
        for (const std::string& program : programs_) {
            const std::string key = Key(program) + "\\DllOverrides";
            for (const wchar_t* name : kPlantedNames) {
                const std::string base = e2e::Utf8(name);
                applied_ = e2e::SetString(key.c_str(), base.substr(0, base.size() - 4).c_str(),
                                          "native,builtin") &&
                           applied_;
            }
        }
    }
    ~PreferFilesOnDisk() {
        for (const std::string& program : programs_) {
            e2e::DeleteKey(Key(program).c_str());
        }
    }
    PreferFilesOnDisk(const PreferFilesOnDisk&) = delete;
    PreferFilesOnDisk& operator=(const PreferFilesOnDisk&) = delete;
    bool Applied() const { return applied_; }

  private:
    static std::string Key(const std::string& program) {
        return "Software\\Wine\\AppDefaults\\" + program;
    }
    std::vector<std::string> programs_;
    bool applied_ = true;
};

// The driver runs the executable under test from where it is; this points it
// at a copy elsewhere for a while.
class ExeUnderTestAt {
  public:
    explicit ExeUnderTestAt(const std::wstring& path) : old_(e2e::ExeUnderTest()) {
        e2e::SetExeUnderTest(path);
    }
    ~ExeUnderTestAt() { e2e::SetExeUnderTest(old_); }
    ExeUnderTestAt(const ExeUnderTestAt&) = delete;
    ExeUnderTestAt& operator=(const ExeUnderTestAt&) = delete;

  private:
    std::wstring old_;
};

// Runs a program to its end; its exit code, or -1 when it could not run.
long RunToEnd(const std::wstring& exe, const std::wstring& arguments,
              const std::wstring& directory) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, e2e::kStepTimeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<long>(code);
}

TEST(Planting, LibrariesBesideTheExecutableOrInTheCurrentDirectoryAreNeverLoaded) {
    ASSERT_TRUE(e2e::StoreReadableStartupValues());
    PlantedDir exeDir;
    PlantedDir workDir;
    ASSERT_TRUE(exeDir.Planted() && workDir.Planted());
    // A name of its own, so that the setting below reaches no other test's program.
    ASSERT_TRUE(exeDir.Dir().CopyIn(e2e::ExeUnderTest(), L"VormetPlanted.exe"));
    ASSERT_TRUE(exeDir.Dir().CopyIn(BesideThisTest(L"naive_loader.exe"), L"naive_loader.exe"));
    const PreferFilesOnDisk preferFiles({"naive_loader.exe", "VormetPlanted.exe"});
    ASSERT_TRUE(preferFiles.Applied());

    // Without protection, the library beside the program is the one loaded.
    EXPECT_EQ(
        RunToEnd(exeDir.Dir().Path() + L"\\naive_loader.exe", L"wininet.dll", workDir.Dir().Path()),
        0);
    ASSERT_TRUE(Exists(Marker(exeDir.Dir(), L"wininet.dll")))
        << "a planted library is not picked up here, so this test would prove nothing";
    DeleteFileW(Marker(exeDir.Dir(), L"wininet.dll").c_str());

    ASSERT_TRUE(wine_cache::SeedPage("http://planting.example/page.htm"));
    ASSERT_TRUE(wine_cache::SeedCookie("Cookie:user@planting.example/"));
    {
        const ExeUnderTestAt copy(exeDir.Dir().Path() + L"\\VormetPlanted.exe");
        e2e::App app({L"", workDir.Dir().Path()});
        ASSERT_TRUE(app.Start());
        const e2e::Outcome started = app.Settle();
        ASSERT_TRUE(started.settled) << started;
        EXPECT_TRUE(started.boxes.empty()) << started;

        // Both buttons clean through the system's library.
        const e2e::Outcome files = app.Click(IDC_DELETE_TEMP_FILES, IDYES);
        ASSERT_TRUE(files.settled) << files;
        EXPECT_EQ(files.boxes.size(), 1u) << files;  // the question only
        const std::vector<wine_cache::Entry> left = wine_cache::Read();
        EXPECT_TRUE(wine_cache::OfKind(left, false).empty());
        EXPECT_FALSE(wine_cache::OfKind(left, true).empty());
        const e2e::Outcome cookies = app.Click(IDC_DELETE_COOKIES, IDYES);
        ASSERT_TRUE(cookies.settled) << cookies;
        EXPECT_TRUE(wine_cache::Empty());

        app.PressKey(VK_ESCAPE);
        EXPECT_TRUE(app.WaitForExit());
    }
    EXPECT_EQ(exeDir.Loaded(), L"") << "planted beside the executable and loaded";
    EXPECT_EQ(workDir.Loaded(), L"") << "planted in the current directory and loaded";
}

}  // namespace

namespace {

// What the system turns F1 into for the window with the focus; a key posted
// from outside would not be.
constexpr UINT kWmKeyF1 = 0x004D;

// Waits for the first of: one of the files appears, a window of the class
// appears.
bool WaitForFileOrWindow(const std::vector<std::wstring>& files, const wchar_t* windowClass) {
    for (DWORD waited = 0; waited < e2e::kStepTimeoutMs; waited += e2e::kPollMs) {
        for (const std::wstring& file : files) {
            if (Exists(file)) {
                return true;
            }
        }
        if (FindWindowW(windowClass, nullptr) != nullptr) {
            return true;
        }
        Sleep(e2e::kPollMs);
    }
    return false;
}

// Ends the help viewer that the test made the program start.
void EndHelpViewer() {
    const HWND viewer = FindWindowW(L"MS_WINHELP", nullptr);
    DWORD processId = 0;
    if (viewer == nullptr || GetWindowThreadProcessId(viewer, &processId) == 0) {
        return;
    }
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process != nullptr) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, e2e::kStepTimeoutMs);
        CloseHandle(process);
    }
}

// F1 opens the help viewer: the system's, never a program of that name left
// beside the executable or in the current directory.
TEST(Planting, HelpViewerBesideTheExecutableOrInTheCurrentDirectoryIsNeverRun) {
    ASSERT_TRUE(e2e::StoreReadableStartupValues());
    EndHelpViewer();  // one left running would be asked instead of started
    e2e::ScratchDir exeDir;
    e2e::ScratchDir workDir;
    ASSERT_TRUE(exeDir.CopyIn(e2e::ExeUnderTest(), L"Vormet.exe"));
    for (e2e::ScratchDir* dir : {&exeDir, &workDir}) {
        ASSERT_TRUE(dir->CopyIn(BesideThisTest(L"planted_program.exe"), L"winhlp32.exe"));
    }
    const std::vector<std::wstring> markers = {exeDir.Path() + L"\\winhlp32.exe.ran",
                                               workDir.Path() + L"\\winhlp32.exe.ran"};
    {
        const ExeUnderTestAt copy(exeDir.Path() + L"\\Vormet.exe");
        e2e::App app({L"", workDir.Path()});
        ASSERT_TRUE(app.Start());
        const e2e::Outcome started = app.Settle();
        ASSERT_TRUE(started.settled) << started;
        ASSERT_TRUE(PostMessageW(app.MainDialog(), kWmKeyF1, 0, 0));
        EXPECT_TRUE(WaitForFileOrWindow(markers, L"MS_WINHELP")) << "no help viewer started";
        EndHelpViewer();
        app.PressKey(VK_ESCAPE);
        EXPECT_TRUE(app.WaitForExit());
    }
    for (const std::wstring& marker : markers) {
        EXPECT_FALSE(Exists(marker)) << "planted and run: " << e2e::Utf8(marker);
        DeleteFileW(marker.c_str());
    }
}

}  // namespace
