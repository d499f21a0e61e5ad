#pragma once
// The tray's shell on Win32: one notification icon (NOTIFYICON_VERSION_4,
// the tooltip shown by the shell), balloons, the menu, message boxes and the
// name prompt, all owned by the tray's hidden window.
#include <windows.h>

#include "tray/tray_shell.h"

// The message the icon's events come in; wParam and lParam as version 4 gives them.
constexpr UINT kTrayCallback = WM_APP + 1;

class Win32TrayShell final : public TrayShell {
  public:
    explicit Win32TrayShell(HWND window) : window_(window) {}
    ~Win32TrayShell() override;
    Win32TrayShell(const Win32TrayShell&) = delete;
    Win32TrayShell& operator=(const Win32TrayShell&) = delete;

    bool ShowIcon(bool proxyOn, const std::string& tooltip) override;
    void RemoveIcon() override;
    void ShowBalloon(const std::string& text) override;
    unsigned ShowMenu(const std::vector<MenuItem>& items) override;
    int ShowMessage(std::string_view text, unsigned type) override;
    std::optional<std::string> AskName(const std::string& initial) override;
    bool StartDialog(std::string* path) override;
    std::string ProgramPath() override;

    // The shell lost its icons (the taskbar was re-created), or the size the
    // system asks for changed: the next ShowIcon adds the icon anew.
    void Forget();

  private:
    HICON Icon(bool proxyOn);

    HWND window_;
    bool added_ = false;
    int iconSize_ = 0;                     // of the icons made; 0: none yet
    HICON icons_[2] = {nullptr, nullptr};  // off, on
};
