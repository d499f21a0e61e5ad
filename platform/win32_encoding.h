#pragma once
// Texts at the wide API: UTF-8 (or ANSI bytes) to UTF-16 and back, in one place.
#include <windows.h>

#include <string>
#include <string_view>

std::wstring Widen(std::string_view text, UINT codePage = CP_UTF8);
// With `lost`, a character the code page cannot hold is not replaced by a
// look-alike, and *lost tells whether any was replaced or the text failed.
std::string Narrow(std::wstring_view utf16, UINT codePage = CP_UTF8, bool* lost = nullptr);
