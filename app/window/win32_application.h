#pragma once
// What the executable's own path gives the dialogs: the caption of their
// message boxes, and the help file beside it.
#include <windows.h>

#include <string>

// The executable's file name without its extension; empty when the system
// cannot tell the path.
std::wstring ApplicationTitle();

// Opens the help viewer on "<the executable's path without its extension>.HLP".
// The viewer takes the path in the ANSI code page and opens it with the ANSI
// file calls, so nothing opens for a path of MAX_PATH bytes or more, nor for
// one the code page cannot spell: by look-alikes it would name another file
// ("café" as "cafe").
void OpenApplicationHelp(HWND owner);
