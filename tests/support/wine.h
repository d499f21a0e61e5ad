#pragma once
// The scenarios' drivers under Wine.
// - The machine: the real registry through the A calls (so values are the
//   bytes the programs see), a scratch folder the programs start in
//   (server.pxy) and that holds their application data, and Wine's URL cache.
// - The real Vormet.exe, driven from outside as a user would. A step posts
//   what the user does and waits until the program has handled it, answering
//   message boxes and ending other dialogs by their OK as they appear; each
//   must be shown over the main dialog, which takes no input then.
// - The real vormet-cli.exe, run once per call. Its standard streams are
//   files, so it writes UTF-8, and no pipe can fill up and hold it.
#include <windows.h>

#include <set>
#include <tuple>

#include "tests/scenario/drivers.h"

// The executables as built, Windows paths, from the test program's command line.
const std::wstring& VormetExe();
const std::wstring& CliExe();
const std::wstring& TrayExe();

// Starts a program, trying again a moment later: Wine now and then refuses a
// start it accepts then, which is no fault of the program under test.
bool Launch(const std::wstring& exe, std::wstring commandLine, const std::wstring& directory,
            STARTUPINFOW& startup, DWORD flags, PROCESS_INFORMATION& process);

// What the drivers share of another process's windows.
constexpr DWORD kTimeoutMs = 20000;  // a fresh prefix first builds its font caches
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);  // with a time-out
std::wstring TextOf(HWND window);
std::vector<HWND> DialogsOf(DWORD process);  // from the top of the Z order down
// A box as the user sees it, and its buttons from left to right.
scenario::Box ReadBox(HWND box, std::vector<int>& buttons);

class WineMachine final : public scenario::Machine {
  public:
    WineMachine();
    ~WineMachine() override;
    const std::wstring& Directory() const { return directory_; }  // the programs' own

    void Clean() override;
    void SetValue(RegKey root, const std::string& key, const std::string& name,
                  const std::optional<RawValue>& value) override;
    std::optional<RawValue> Value(RegKey root, const std::string& key,
                                  const std::string& name) override;
    void MakeReadOnly(RegKey root, const std::string& key) override;
    void SetServerList(const std::string& bytes) override;
    void AddCacheEntry(const scenario::CacheEntry& entry) override;
    std::vector<scenario::CacheEntry> CacheEntries() override;
    void SetUserFile(const std::string& path, const std::optional<std::string>& bytes) override;
    std::optional<std::string> UserFile(const std::string& path) override;
    // The machine's default gateway and its hardware address, as Linux has them.
    std::vector<ConnectedNetwork> Networks() override;
    bool SetNetworks(const std::vector<ConnectedNetwork>& /*networks*/) override { return false; }

  private:
    std::wstring directory_;
    std::set<std::tuple<RegKey, std::string, std::string>> planted_;  // deleted by Clean
    std::set<std::pair<RegKey, std::string>> readOnly_;               // writable again
};

class WineDialog final : public scenario::DialogDriver {
  public:
    WineDialog(std::wstring exe, std::wstring directory);  // where Open starts it
    ~WineDialog() override;                                // ends it if it still runs
    WineDialog(const WineDialog&) = delete;
    WineDialog& operator=(const WineDialog&) = delete;

    scenario::Shown Open(const std::vector<int>& answers) override;
    scenario::Shown Click(int id, const std::vector<int>& answers) override;
    scenario::Shown SystemCommand(unsigned command) override;
    scenario::Shown PressF1() override;
    void Type(int id, const std::string& ansi) override;
    bool Checked(int id) override;
    bool Enabled(int id) override;
    std::string Text(int id) override;
    std::vector<std::string> Items(int id) override;
    // Wine answers WM_GETICON from another process with nothing.
    std::optional<bool> HasIcons() override { return std::nullopt; }
    bool Close(scenario::CloseBy how) override;

    // For the long-cleaning test: the main dialog, and the wait of a step.
    HWND Main();
    scenario::Shown Settle(const std::vector<int>& answers);

  private:
    void Answer(HWND window, const std::vector<int>& answers, scenario::Shown& shown);
    bool RoundTrip();
    HWND Item(int id) { return GetDlgItem(Main(), id); }

    std::wstring exe_;
    std::wstring directory_;
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    std::set<HWND> handled_;  // boxes answered, dialogs ended: maybe not gone yet
};

// The real vormet-tray.exe, its icon in Wine's own system tray: clicked and
// its menu opened by messages to the icon's window, the menu's items chosen
// by their access keys, and the tooltip read where the shell keeps it.
// Balloons, which Wine shows seconds late, are not told.
class WineTray final : public scenario::TrayDriver {
  public:
    WineTray(std::wstring exe, std::wstring directory);
    ~WineTray() override;  // ends it if it still runs
    WineTray(const WineTray&) = delete;
    WineTray& operator=(const WineTray&) = delete;

    bool Start() override;
    scenario::Shown Click(const std::vector<int>& answers) override;
    scenario::Shown DoubleClick() override;
    scenario::Shown Choose(const std::string& item, const std::vector<int>& answers,
                           const std::vector<std::string>& names) override;
    std::string Tooltip(const std::string& expected) override;
    std::optional<std::vector<std::string>> Menu() override { return std::nullopt; }
    scenario::Shown NetworksSettled() override;
    bool Exit() override;
    std::string ProgramPath() override;
    bool Running() const;

  private:
    HWND Window() const;
    bool OpenMenu(const std::string& item);
    scenario::Shown Settle(const std::vector<int>& answers, const std::vector<std::string>& names);

    std::wstring exe_;
    std::wstring directory_;
    PROCESS_INFORMATION process_{};
};

class WineCli final : public scenario::CliDriver {
  public:
    WineCli(std::wstring exe, std::wstring directory);  // where each run starts
    scenario::CliRun Run(const std::vector<std::string>& args, const std::string& input) override;

  private:
    std::wstring exe_;
    std::wstring directory_;
};
