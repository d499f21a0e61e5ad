#include "profile/profile_file.h"

#include <algorithm>

#include "network/networks.h"
#include "store/text_format.h"
#include "zone/zone_options.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kOn = "on";
constexpr std::string_view kOff = "off";
constexpr std::string_view kNetworksKey = "networks";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Decimal, or hexadecimal after 0x; up to 0xFFFFFFFF.
std::optional<std::uint32_t> NumberOf(std::string_view word) {
    unsigned base = 10;
    if (word.size() > 2 && word.substr(0, 2) == "0x") {
        base = 16;
        word.remove_prefix(2);
    }
    std::uint32_t number = 0;
    return ParseNumber(word, base, &number) ? std::optional(number) : std::nullopt;
}

std::optional<std::uint32_t> NumberValue(const SettingRow& row, std::string_view value) {
    const std::string word = LowerAscii(value);
    if (row.kind == SettingKind::kZone) {
        if (const auto setting = ZoneSettingOfWord(word)) {
            const ZoneChoice* choice = FindZoneChoice(row.option, *setting);
            return choice != nullptr ? std::optional(choice->value) : std::nullopt;
        }
    } else if (word == kOn || word == kOff) {
        return word == kOn ? 1 : 0;
    }
    return NumberOf(word);
}

// A quoted text, escapes resolved: the UTF-8 between them goes to the code
// page, a \xNN byte goes as it is.
ProfileError Unquote(std::string_view quoted, CharsetSeam& charset, std::string* ansi) {
    std::string run;  // UTF-8 not yet converted
    const auto flush = [&charset, &run, ansi] {
        std::string bytes;
        if (!charset.ToAnsi(run, &bytes)) {
            return false;
        }
        *ansi += bytes;
        run.clear();
        return true;
    };
    for (std::size_t i = 1; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') {
            if (i + 1 != quoted.size()) {
                return ProfileError::kBadQuoting;
            }
            return flush() ? ProfileError::kNone : ProfileError::kNotInCodePage;
        }
        if (c != '\\') {
            run += c;
            continue;
        }
        if (++i == quoted.size()) {
            break;
        }
        switch (quoted[i]) {
            case '"':
            case '\\':
                run += quoted[i];
                break;
            case 't':
                run += '\t';
                break;
            case 'r':
                run += '\r';
                break;
            case 'n':
                run += '\n';
                break;
            case 'x': {
                const int high = i + 2 < quoted.size() ? HexDigit(quoted[i + 1]) : -1;
                const int low = high >= 0 ? HexDigit(quoted[i + 2]) : -1;
                if (low < 0) {
                    return ProfileError::kBadQuoting;
                }
                if (!flush()) {
                    return ProfileError::kNotInCodePage;
                }
                *ansi += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return ProfileError::kBadQuoting;
        }
    }
    return ProfileError::kBadQuoting;  // no closing quote
}

ProfileError ValueOf(const SettingRow& row, std::string_view value, CharsetSeam& charset,
                     SettingValue* setting) {
    if (row.kind != SettingKind::kText) {
        const auto number = NumberValue(row, value);
        if (!number) {
            return ProfileError::kBadValue;
        }
        setting->number = *number;
        return ProfileError::kNone;
    }
    if (!value.empty() && value.front() == '"') {
        const ProfileError error = Unquote(value, charset, &setting->text);
        if (error != ProfileError::kNone) {
            return error;
        }
    } else if (!charset.ToAnsi(value, &setting->text)) {
        return ProfileError::kNotInCodePage;
    }
    // A zero byte would end the stored text early; a longer text would not be
    // read back.
    const bool storable =
        setting->text.find('\0') == std::string::npos && setting->text.size() < row.maxBytes;
    return storable ? ProfileError::kNone : ProfileError::kBadValue;
}

// A line's key, lower case; empty for a line without one.
std::string KeyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string()
                                            : LowerAscii(Trim(line.substr(0, equals)));
}

ProfileError ParseLine(std::string_view line, CharsetSeam& charset, ProfileReading* reading) {
    if (line.empty() || line.front() == ';' || line.front() == '#') {
        return ProfileError::kNone;
    }
    const std::string key = KeyOf(line);
    if (key.empty()) {
        return ProfileError::kNotKeyValue;
    }
    const std::string_view value = Trim(line.substr(line.find('=') + 1));
    if (key == kNetworksKey) {
        if (reading->networks) {
            return ProfileError::kKeyTwice;
        }
        std::vector<std::string> entries;
        const ProfileError error = ParseNetworks(value, &entries);
        if (error == ProfileError::kNone) {
            reading->networks = std::move(entries);
        }
        return error;
    }
    const std::size_t row = SettingOfWord(key);
    if (row == kSettingCount) {
        return ProfileError::kUnknownKey;
    }
    if (reading->profile[row]) {
        return ProfileError::kKeyTwice;
    }
    SettingValue setting;
    const ProfileError error = ValueOf(SettingTable[row], value, charset, &setting);
    if (error == ProfileError::kNone) {
        reading->profile[row] = std::move(setting);
    }
    return error;
}

std::string NetworksLine(const std::vector<std::string>& entries) {
    return Concat({kNetworksKey, " = ", Joined(entries, ";")});
}

// The bytes of the character at text[at] as UTF-8, and how many bytes of the
// code page it takes; 0 when none that reads back the same starts there.
std::size_t CharacterAt(std::string_view text, std::size_t at, CharsetSeam& charset,
                        std::string* utf8) {
    for (std::size_t length = 1; length <= 2 && at + length <= text.size(); ++length) {
        const std::string_view bytes = text.substr(at, length);
        std::string back;
        if (charset.FromAnsi(bytes, utf8) && charset.ToAnsi(*utf8, &back) && back == bytes) {
            return length;
        }
    }
    return 0;
}

// A byte as an escape of a quoted text.
std::string ByteEscape(unsigned char byte) {
    return "\\x" + Hex(byte, 2);
}

// Escaped where it would not stand for itself between quotes, or not be seen.
std::string Escaped(char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\t':
            return "\\t";
        case '\r':
            return "\\r";
        case '\n':
            return "\\n";
        default:
            break;
    }
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F ? ByteEscape(byte) : std::string(1, c);
}

std::string FormatText(std::string_view ansi, CharsetSeam& charset) {
    bool quote =
        ansi.empty() || IsBlank(ansi.front()) || IsBlank(ansi.back()) || ansi.front() == '"';
    std::string plain;
    std::string quoted;
    for (std::size_t at = 0; at < ansi.size();) {
        std::string utf8;
        const std::size_t length = CharacterAt(ansi, at, charset, &utf8);
        if (length == 0) {
            quoted += ByteEscape(static_cast<unsigned char>(ansi[at]));
            quote = true;
            ++at;
            continue;
        }
        for (const char c : utf8) {
            const std::string escaped = Escaped(c);
            quote = quote || (escaped.size() > 1 && c != '"');
            quoted += escaped;
        }
        plain += utf8;
        at += length;
    }
    return quote ? '"' + quoted + '"' : plain;
}

std::string FormatValue(const SettingRow& row, const SettingValue& value, CharsetSeam& charset) {
    switch (row.kind) {
        case SettingKind::kZone:
            if (const ZoneChoice* choice = FindZoneChoice(row.option, value.number)) {
                return ZoneSettingWord(choice->setting);
            }
            break;
        case SettingKind::kSwitch:
            if (value.number <= 1) {
                return std::string(value.number == 1 ? kOn : kOff);
            }
            break;
        case SettingKind::kText:
            return FormatText(value.text, charset);
    }
    return "0x" + Hex(value.number);
}

}  // namespace

ProfileReading ParseProfile(std::string_view bytes, CharsetSeam& charset) {
    ProfileReading reading;
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    for (std::size_t number = 1; !bytes.empty(); ++number) {
        reading.error = ParseLine(Trim(TakeLine(bytes)), charset, &reading);
        if (reading.error != ProfileError::kNone) {
            reading.line = number;
            return reading;
        }
    }
    return reading;
}

std::string FormatProfile(const Profile& profile, CharsetSeam& charset,
                          const ProfileNetworks& networks) {
    // The mark keeps older editors from taking the file for the code page's.
    std::string text(kByteOrderMark);
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (profile[row]) {
            text += SettingTable[row].word;
            text += " = ";
            text += FormatValue(SettingTable[row], *profile[row], charset);
            text += "\r\n";
        }
    }
    if (networks) {
        text += NetworksLine(*networks);
        text += "\r\n";
    }
    return text;
}

ProfileError ParseNetworks(std::string_view value, std::vector<std::string>* entries) {
    entries->clear();
    for (;;) {
        const std::size_t end = value.find(';');
        const std::string_view entry = Trim(value.substr(0, end));
        const bool control = std::any_of(entry.begin(), entry.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
        if (entry.empty() || control) {
            return ProfileError::kBadValue;
        }
        entries->emplace_back(entry);
        if (end == std::string_view::npos) {
            break;
        }
        value.remove_prefix(end + 1);
    }
    const bool any = std::find(entries->begin(), entries->end(), kAnyNetwork) != entries->end();
    return any && entries->size() > 1 ? ProfileError::kBadValue : ProfileError::kNone;
}

std::string WithNetworks(std::string_view text, const ProfileNetworks& networks) {
    const std::string_view lineEnd =
        text.find("\r\n") != std::string_view::npos || text.empty() ? "\r\n" : "\n";
    std::string out;
    bool set = !networks;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        const bool marked = line.starts_with(kByteOrderMark);
        if (KeyOf(Trim(marked ? line.substr(kByteOrderMark.size()) : line)) != kNetworksKey) {
            out += line;
            continue;
        }
        out += marked ? kByteOrderMark : "";
        if (!set) {
            out += Concat({NetworksLine(*networks), lineEnd});
            set = true;
        }
    }
    if (!set) {
        if (!out.empty() && out.back() != '\n') {
            out += lineEnd;
        }
        out += Concat({NetworksLine(*networks), lineEnd});
    }
    return out;
}

bool ProfileMatches(const Profile& profile, const SettingReadings& now) {
    bool named = false;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (profile[row]) {
            if (now[row].outcome != ReadOutcome::kRead || now[row].value != *profile[row]) {
                return false;
            }
            named = true;
        }
    }
    return named;
}
