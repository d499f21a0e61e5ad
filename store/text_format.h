#pragma once
// Small text rules that the core's files and every front end share: numbers
// in hexadecimal and decimal, lists joined, lines split, ASCII case folded.
// Written out here rather than through the printf family, which would bring
// its whole formatter (floating point included) into every executable.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// At least minDigits digits, zeros before.
void AppendHex(std::string& text, std::uint32_t value, int minDigits = 1, bool lowerCase = false);
std::string Hex(std::uint32_t value, int minDigits = 1, bool lowerCase = false);
// Two lower-case digits a byte.
void AppendHexBytes(std::string& text, std::string_view bytes);
// The value of a hexadecimal digit; -1 for any other character.
int HexDigit(char c);
// A number of base 10 or 16, all digits, of at most 32 bits.
bool ParseNumber(std::string_view digits, unsigned base, std::uint32_t* value);
std::string Decimal(std::uint64_t value);

// The parts one after the other: one call where a chain of + would build a
// string for each step.
std::string Concat(std::initializer_list<std::string_view> parts);

// The items with the separator between them.
std::string Joined(const std::vector<std::string>& items, std::string_view separator = ", ");

// Takes the first line off the text and returns it without its line end
// (LF or CR LF).
std::string_view TakeLine(std::string_view& text);

// Keys, words and names compare without regard to the case of their ASCII
// letters.
std::string LowerAscii(std::string_view text);
