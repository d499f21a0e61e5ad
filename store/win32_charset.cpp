// The character set seam over kernel32: the system's ANSI code page, and its
// classification of characters.
#include <windows.h>

#include "store/charset_seam.h"
#include "platform/win32_encoding.h"

namespace {

// Fails, rather than guessing, on bytes that are no text in the code page.
bool WidenStrictly(UINT codePage, std::string_view text, std::wstring* wide) {
    wide->clear();
    if (text.empty()) {
        return true;
    }
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length == 0) {
        return false;
    }
    wide->resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide->data(),
                               length) == length;
}

class Win32Charset final : public CharsetSeam {
  public:
    bool ToAnsi(std::string_view utf8, std::string* ansi) override {
        ansi->clear();
        std::wstring wide;
        if (!WidenStrictly(CP_UTF8, utf8, &wide)) {
            return false;
        }
        bool lost = false;
        *ansi = Narrow(wide, CP_ACP, &lost);
        return !lost;
    }
    bool FromAnsi(std::string_view ansi, std::string* utf8) override {
        std::wstring wide;
        const bool whole = WidenStrictly(CP_ACP, ansi, &wide);
        *utf8 = Narrow(whole ? wide : Widen(ansi, CP_ACP));
        return whole;
    }
    bool IsLetterOrDigit(char32_t c) override {
        // The classification sees one UTF-16 unit at a time; beyond them lie
        // the rarer CJK ideographs, which names of people and places use.
        if (c > 0xFFFF) {
            return c >= 0x20000 && c <= 0x3FFFF;
        }
        const auto unit = static_cast<wchar_t>(c);
        WORD type = 0;
        return GetStringTypeW(CT_CTYPE1, &unit, 1, &type) && (type & (C1_ALPHA | C1_DIGIT)) != 0;
    }
};

}  // namespace

CharsetSeam& TheCharset() {
    static Win32Charset charset;
    return charset;
}
