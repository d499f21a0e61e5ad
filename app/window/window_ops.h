#pragma once
// What the dialogs need of the window system, addressed by control id. The
// Win32 implementation lives beside the dialog driver; tests use a simulated
// window system that keeps the same promises.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Message box types and answers (Win32 values).
constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbOkCancel = 0x01;
constexpr unsigned kMbYesNo = 0x04;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class Dialog;

class WindowOps {
  public:
    virtual ~WindowOps() = default;

    // BM_CLICK by PostMessage: delivered later, in order, as a user's click.
    virtual void PostClick(int id) = 0;
    // BM_GETCHECK == 1.
    virtual bool IsChecked(int id) = 0;
    // BM_SETCHECK; notifies nobody.
    virtual void SetCheck(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    // Control texts are ANSI bytes, passed through unchanged.
    virtual std::string GetText(int id) = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    // CB_ADDSTRING: appended to the end of an unsorted list.
    virtual void AddComboItem(int id, const std::string& text) = 0;
    // Most bytes the user may type into an edit box or a combo box's field.
    virtual void LimitText(int id, std::size_t maxBytes) = 0;

    // A long run in a click handler: while busy, the busy cursor shows and,
    // each time KeepResponsive is called, the window answers the system
    // (repaints, and is not taken for hung) but takes no input; what the
    // user typed or clicked meanwhile is dropped.
    virtual void SetBusy(bool busy) = 0;
    virtual void KeepResponsive() = 0;

    // A modal message box owned by the dialog and captioned with the
    // application's title. text is UTF-8; type combines kMb* values.
    virtual int ShowMessage(std::string_view text, unsigned type) = 0;

    // Window-system-only work, done by the Win32 side.
    virtual void SetIcons() = 0;           // large, then small application icon
    virtual bool PaintIfMinimized() = 0;   // true when the icon was painted
    virtual std::intptr_t DragIcon() = 0;  // the application icon's handle
    virtual void OpenHelp() = 0;           // help viewer on <exe path>.HLP

    // The window's system menu: whether it has one, and appending to its end.
    // Item texts are UTF-8.
    virtual bool HasSystemMenu() = 0;
    virtual void AppendSystemMenuSeparator() = 0;
    virtual void AppendSystemMenuItem(unsigned command, std::string_view text) = 0;
    // A string resource of the executable as UTF-8; empty when there is none.
    virtual std::string LoadResourceString(int id) = 0;
    // Runs another dialog modally, owned by this window (disabled meanwhile).
    virtual int RunModal(Dialog& dialog) = 0;
};
