#pragma once
// The real Vormet.exe under Wine, driven from outside as a user would: each
// step posts what the user does and waits until the program has handled it,
// answering message boxes and ending other dialogs by their OK as they
// appear. Every box must be owned by the main dialog and captioned with the
// name the executable was started under; every other dialog must be shown
// over the main dialog, which takes no input meanwhile.
#include <windows.h>

#include <set>
#include <string>

#include "tests/scenario/drivers.h"

class WineDialog final : public scenario::DialogDriver {
  public:
    // Starts exe (a Windows path) in directory at Open.
    WineDialog(std::wstring exe, std::wstring directory);
    ~WineDialog() override;  // ends the program if it still runs
    WineDialog(const WineDialog&) = delete;
    WineDialog& operator=(const WineDialog&) = delete;

    scenario::Shown Open(const std::vector<int>& answers) override;
    scenario::Shown Click(int id, const std::vector<int>& answers) override;
    scenario::Shown SystemCommand(unsigned command, const std::vector<int>& answers) override;
    void Type(int id, const std::string& ansi) override;
    bool Checked(int id) override;
    bool Enabled(int id) override;
    std::string Text(int id) override;
    std::vector<std::string> Items(int id) override;
    bool Close(scenario::CloseBy how) override;

    // The steps of Open, for the start-up benchmark.
    bool Start();
    HWND Main();  // the main dialog, shown or not yet; null before it exists
    scenario::Shown Settle(const std::vector<int>& answers);

    std::vector<std::string> captions;  // of every box, in order (UTF-8)

  private:
    bool RoundTrip();
    HWND Item(int id) { return GetDlgItem(Main(), id); }

    std::wstring exe_;
    std::wstring directory_;
    std::string title_;  // what every box's caption must be
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    std::set<HWND> handled_;  // boxes answered and dialogs ended, maybe not yet gone
};
