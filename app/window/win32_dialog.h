#pragma once
// Runs a Dialog modally on user32, driving its message map.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/window/dialog.h"

// Returns the value the dialog ended with, or -1 if it could not be created.
INT_PTR RunModalDialog(Dialog& dialog, HWND owner);

// UTF-8 to UTF-16, for the wide API, and back.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The application's title: the executable's file name without its extension.
std::wstring ApplicationTitle();
