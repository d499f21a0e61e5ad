#pragma once
// The console's JSON: one line a document, UTF-8.
#include <string>
#include <string_view>
#include <vector>

#include "profile/settings.h"
#include "store/charset_seam.h"

// A JSON string of a UTF-8 text.
std::string Json(std::string_view utf8);
const char* JsonBool(bool value);
// A JSON list of texts.
std::string JsonList(const std::vector<std::string>& utf8);
// A zone value as status gives it: {"value": N or null, "setting": WORD}.
std::string ZoneJson(std::size_t option, const SettingReading& reading);
// A text of the registry, or null when it was not read.
std::string JsonText(const SettingReading& reading, CharsetSeam& charset);
// A setting's value: a zone value as status gives it, the switch as "on",
// "off" or its number, a text as a string.
std::string SettingJson(std::size_t row, const SettingValue& value, CharsetSeam& charset);
