#pragma once
// A profile: some of the eight settings, in a text file the user may read,
// edit and copy to other machines. UTF-8 (a byte-order mark is taken and not
// needed), CRLF or LF line ends; blank lines and lines whose first non-blank
// character is ";" or "#" are skipped; each other line is "key = value", with
// blanks around key and value ignored and keys and words compared without
// regard to case:
//   javascript, applet, java, cookies, session-cookies
//       the setting's word (prompt, enable, disable; for java high, medium,
//       low, disable) or a number (decimal, or hexadecimal after 0x)
//   proxy       on, off or a number
//   server, override
//       the text as stored; in double quotes with \" \\ \t \r \n and \xNN
//       (a byte of the code page as it is) escapes where it has to be
//   networks
//       the networks the profile is for: entries between ";", each one of a
//       network's identities; or "*" alone, for no network another names
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/settings.h"
#include "store/charset_seam.h"

// The values a profile names; it leaves the others as they are.
using Profile = std::array<std::optional<SettingValue>, kSettingCount>;

enum class ProfileError {
    kNone,
    kNotKeyValue,
    kUnknownKey,
    kKeyTwice,
    kBadValue,    // no such word, a number out of range, a text too long or with a zero byte
    kBadQuoting,  // no closing quote, text after it, an unknown escape
    kNotInCodePage,
};
constexpr std::size_t kProfileErrorCount = 7;

// The networks a profile is for; nullopt: it names none.
using ProfileNetworks = std::optional<std::vector<std::string>>;

struct ProfileReading {
    Profile profile;
    ProfileNetworks networks;
    ProfileError error = ProfileError::kNone;
    std::size_t line = 0;  // where the error is, from 1
};

// A profile is taken whole or not at all: the first error ends the reading.
ProfileReading ParseProfile(std::string_view bytes, CharsetSeam& charset);
// What ParseProfile reads back as the same values: words where there are any,
// else hexadecimal numbers; texts quoted only where they would not read back
// as they stand; the networks line last.
std::string FormatProfile(const Profile& profile, CharsetSeam& charset,
                          const ProfileNetworks& networks = std::nullopt);

// A networks line's value: at least one entry, none empty or holding a
// control character, and "*" only alone.
ProfileError ParseNetworks(std::string_view value, std::vector<std::string>* entries);
// The text of a profile with its networks line set (nullopt: removed), every
// other line kept as it is; a line that is added ends as the file's lines do.
std::string WithNetworks(std::string_view text, const ProfileNetworks& networks);

// Whether the profile names a value, and every value it names is what is
// stored now.
bool ProfileMatches(const Profile& profile, const SettingReadings& now);
