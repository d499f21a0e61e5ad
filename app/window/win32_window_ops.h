#pragma once
// The window operations on a real dialog window. The dialog driver
// (win32_dialog.h) sits on them: it creates one for each dialog it runs, and
// hands in how it runs another dialog over that one.
#include <windows.h>

#include "app/window/window_ops.h"

class Win32WindowOps final : public WindowOps {
  public:
    using ModalRunner = INT_PTR (*)(Dialog& dialog, HWND owner);
    explicit Win32WindowOps(ModalRunner runModal);
    // The window the operations act on, from the dialog's creation on.
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

    // By the driver's runner.
    int RunModal(Dialog& dialog) override;

  private:
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    ModalRunner runModal_;
    HWND dialog_ = nullptr;
    bool busy_ = false;
    ULONGLONG answered_ = 0;  // when the window last answered the system
    HICON icon_;              // owned by the system: shared icons are never destroyed
};
