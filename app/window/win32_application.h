#pragma once
// What the executable's own path gives the dialogs: the caption of their
// message boxes, and the help file beside it.
#include <windows.h>

#include <optional>
#include <string>

// The executable's file name without its extension; empty when the system
// cannot tell the path.
std::wstring ApplicationTitle();

// The help file of the executable at this path: "<path without its
// extension>.HLP", in the ANSI code page the viewer takes and opens it by.
// None for a path of MAX_PATH bytes or more, nor for one the code page cannot
// spell: by look-alikes it would name another file ("café" as "cafe").
std::optional<std::string> HelpFileOf(const std::wstring& executable);

// Opens the help viewer on the executable's help file, if it has one.
void OpenApplicationHelp(HWND owner);
