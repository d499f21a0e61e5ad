#pragma once
// The real Vormet.exe under Wine, driven from outside as a user would. A step
// posts what the user does and waits until the program has handled it,
// answering message boxes and ending other dialogs by their OK as they
// appear; each must be shown over the main dialog, which takes no input then.
#include <windows.h>

#include <set>

#include "tests/scenario/drivers.h"

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
