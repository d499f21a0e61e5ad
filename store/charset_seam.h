#pragma once
// What the core needs to know of characters: registry texts are bytes in the
// system's ANSI code page, while profiles and the console speak UTF-8; and
// profile names may hold the letters and digits of any script.
#include <string>
#include <string_view>

class CharsetSeam {
  public:
    virtual ~CharsetSeam() = default;
    // UTF-8 to the code page; false when the text is no UTF-8 or has a
    // character the code page cannot hold (none is replaced by a look-alike).
    virtual bool ToAnsi(std::string_view utf8, std::string* ansi) = 0;
    // The code page's bytes to UTF-8; false when some of them are no
    // character there (they are shown replaced).
    virtual bool FromAnsi(std::string_view ansi, std::string* utf8) = 0;
    virtual bool IsLetterOrDigit(char32_t c) = 0;
};

// The process-wide character set of the platform.
CharsetSeam& TheCharset();
