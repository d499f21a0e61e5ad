#pragma once
// What the tray needs of the shell and the window system: its notification
// icon with the tooltip, balloons, a menu, message boxes, a name prompt, and
// starting the dialog. Texts are UTF-8. The Win32 implementation is product
// code; tests use a simulated one.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MenuItem {
    unsigned id = 0;  // 0: a separator
    std::string text;
    bool checked = false;
    bool enabled = true;
};

class TrayShell {
  public:
    virtual ~TrayShell() = default;
    // Adds the icon, or changes it: how it looks and its tooltip. False when
    // the shell took no icon (it is not there yet).
    virtual bool ShowIcon(bool proxyOn, const std::string& tooltip) = 0;
    virtual void RemoveIcon() = 0;
    // A balloon from the icon; the system may keep it silent.
    virtual void ShowBalloon(const std::string& text) = 0;
    // Shows the menu where the user asked for it; the id chosen, 0 for none.
    virtual unsigned ShowMenu(const std::vector<MenuItem>& items) = 0;
    // A message box of the tray; type and answer as MessageBox's (kMb*, kId*).
    virtual int ShowMessage(std::string_view text, unsigned type) = 0;
    // Asks a profile's name; nothing when the user cancels.
    virtual std::optional<std::string> AskName(const std::string& initial) = 0;
    // Starts the dialog from the tray's own folder; false when it is not there,
    // with the path it looked for.
    virtual bool StartDialog(std::string* path) = 0;
    // The full path of the tray's own program.
    virtual std::string ProgramPath() = 0;
};

// Message box types and answers (Win32 values).
constexpr unsigned kTrayMbOk = 0x00;
constexpr unsigned kTrayMbYesNo = 0x04;
constexpr unsigned kTrayMbIconExclamation = 0x30;
constexpr unsigned kTrayMbIconInformation = 0x40;
constexpr int kTrayIdYes = 6;
