#include "platform/win32_encoding.h"

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view utf16, UINT codePage, bool* lost) {
    BOOL defaulted = FALSE;
    if (lost != nullptr) {
        *lost = false;
    }
    if (utf16.empty()) {
        return {};
    }
    // UTF-8 takes neither flags nor a default character.
    const bool checked = lost != nullptr && codePage != CP_UTF8;
    const DWORD flags = checked ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL* const usedDefault = checked ? &defaulted : nullptr;
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(codePage, flags, utf16.data(), size, nullptr, 0, nullptr, usedDefault);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, utf16.data(), size, narrow.data(), length, nullptr,
                        usedDefault);
    if (lost != nullptr) {
        *lost = length == 0 || defaulted != FALSE;
    }
    return narrow;
}
