#pragma once
// The about box, and the system-menu entry of the main dialog that opens it.
#include <cstdint>

#include "app/window/dialog.h"

// Shows the product name and version. OK, Esc and the close box end it through
// the base dialog's standard handling, so it needs no handlers of its own.
class CAboutBox final : public Dialog {
  public:
    CAboutBox();

    MessageResult HandleMessage(const DialogMessage& m) override;
};

// Appends a separator and the about entry to the window's system menu; skipped
// when the window has no system menu or the entry's text is empty.
void AddAboutMenuEntry(WindowOps& window);

// Whether a system command (WM_SYSCOMMAND's wParam) is the about entry's. The
// window system uses the low four bits of a command itself, so they are ignored.
bool IsAboutCommand(std::uintptr_t command);

// Runs a fresh about box modally over the window; its result means nothing.
void ShowAboutBox(WindowOps& window);
