#pragma once
// The window operations on a real dialog window.
#include <windows.h>

#include "app/window/window_ops.h"

class Win32WindowOps final : public WindowOps {
  public:
    Win32WindowOps();
    void Bind(HWND dialog) { dialog_ = dialog; }
    bool Busy() const { return busy_; }

    // Controls.
    void PostClick(int id) override;
    bool IsChecked(int id) override;
    void SetCheck(int id, bool checked) override;
    void Enable(int id, bool enabled) override;
    std::string GetText(int id) override;
    void SetText(int id, const std::string& text) override;
    void AddComboItem(int id, const std::string& text) override;
    void LimitText(int id, std::size_t maxBytes) override;

    // A long run in a click handler.
    void SetBusy(bool busy) override;
    void KeepResponsive() override;

    // Message boxes and help (win32_application.h).
    int ShowMessage(std::string_view text, unsigned type) override;
    void OpenHelp() override;

    // The icon and the system menu.
    void SetIcons() override;
    bool PaintIfMinimized() override;
    std::intptr_t DragIcon() override;
    bool HasSystemMenu() override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(unsigned command, std::string_view text) override;
    std::string LoadResourceString(int id) override;

    int RunModal(Dialog& dialog) override;

  private:
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    HWND dialog_ = nullptr;
    bool busy_ = false;
    ULONGLONG answered_ = 0;  // when the window last answered the system
    HICON icon_;              // owned by the system: shared icons are never destroyed
};
