#include "store/text_format.h"

#include <algorithm>

void AppendHex(std::string& text, std::uint32_t value, int minDigits, bool lowerCase) {
    const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
    int count = 1;
    while (count < 8 && (value >> (4 * count)) != 0) {
        ++count;
    }
    for (int shift = 4 * (std::max(count, minDigits) - 1); shift >= 0; shift -= 4) {
        text += shift < 32 ? digits[(value >> shift) & 0xF] : '0';
    }
}

void AppendHexBytes(std::string& text, std::string_view bytes) {
    const char* digits = "0123456789abcdef";
    const std::size_t at = text.size();
    text.resize(at + 2 * bytes.size());
    char* out = text.data() + at;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = digits[byte >> 4];
        *out++ = digits[byte & 0xF];
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool ParseNumber(std::string_view digits, unsigned base, std::uint32_t* value) {
    std::uint64_t number = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            return false;
        }
        number = number * base + static_cast<unsigned>(digit);
        if (number > 0xFFFFFFFF) {
            return false;
        }
    }
    *value = static_cast<std::uint32_t>(number);
    return !digits.empty();
}

std::string Hex(std::uint32_t value, int minDigits, bool lowerCase) {
    std::string text;
    AppendHex(text, value, minDigits, lowerCase);
    return text;
}

std::string Decimal(std::uint64_t value) {
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view part : parts) {
        size += part.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view part : parts) {
        text += part;
    }
    return text;
}

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) {
            joined += separator;
        }
        joined += items[i];
    }
    return joined;
}

std::string_view TakeLine(std::string_view& text) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}
