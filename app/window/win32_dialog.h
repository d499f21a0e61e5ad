#pragma once
// Runs a Dialog modally on user32, driving its message map.
#include <windows.h>

#include "app/window/dialog.h"

// Returns the value the dialog ended with, or -1 if it could not be created.
INT_PTR RunModalDialog(Dialog& dialog, HWND owner);
