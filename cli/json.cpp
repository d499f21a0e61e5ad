#include "cli/json.h"

#include "store/text_format.h"
#include "texts/setting_words.h"

std::string Json(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u";
            AppendHex(out, static_cast<unsigned char>(c), 4, true);
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string JsonList(const std::vector<std::string>& utf8) {
    std::vector<std::string> items;
    items.reserve(utf8.size());
    for (const std::string& text : utf8) {
        items.push_back(Json(text));
    }
    return Concat({"[", Joined(items), "]"});
}

const char* JsonBool(bool value) {
    return value ? "true" : "false";
}

std::string ZoneJson(std::size_t option, const SettingReading& reading) {
    return Concat({"{\"value\": ",
                   reading.outcome == ReadOutcome::kRead ? Decimal(reading.value.number) : "null",
                   ", \"setting\": ", Json(MeaningOf(option, reading).word), "}"});
}

std::string JsonText(const SettingReading& reading, CharsetSeam& charset) {
    return reading.outcome == ReadOutcome::kRead ? Json(Utf8(reading.value.text, charset)) : "null";
}

std::string SettingJson(std::size_t row, const SettingValue& value, CharsetSeam& charset) {
    const SettingReading reading{ReadOutcome::kRead, value};
    switch (SettingTable[row].kind) {
        case SettingKind::kZone:
            return ZoneJson(SettingTable[row].option, reading);
        case SettingKind::kSwitch:
            return value.number > 1 ? Decimal(value.number)
                                    : Json(value.number == 1 ? "on" : "off");
        case SettingKind::kText:
            break;
    }
    return JsonText(reading, charset);
}
