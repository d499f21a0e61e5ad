#pragma once
// The words the front ends show the settings and their values in (UTF-8):
// the labels of the dialog, and the meaning of a stored value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/settings.h"
#include "store/charset_seam.h"
#include "zone/zone_options.h"

inline constexpr const char kTextMissing[] = "未設定";
inline constexpr const char kTextUnreadable[] = "読み取れません";
inline constexpr const char kTextOn[] = "有効";
inline constexpr const char kTextOff[] = "無効";
inline constexpr const char kTextNone[] = "なし";
inline constexpr const char kTextProfiles[] = "プロファイル";

// The policies that override the per-user settings.
inline constexpr const char kTextPolicy[] = "ポリシー";
inline constexpr const char kTextZonesFromMachine[] =
    "ゾーンの設定はすべてコンピューターの設定が使われます (Security_HKLM_only)";
// After a setting's label, before the policy's value.
inline constexpr const char kTextZoneByPolicy[] = " はポリシーで設定されています: ";
inline constexpr const char kTextProxyPerMachine[] =
    "プロキシはコンピューター全体の設定が使われ、ユーザーごとの設定は効きません "
    "(ProxySettingsPerUser = 0)";

// A setting's label, as the dialog names it.
const char* SettingLabel(std::size_t row);
// What a stored zone value means: the word of the JSON and the words shown.
struct ZoneMeaning {
    const char* word;
    const char* label;
};
ZoneMeaning MeaningOf(std::size_t option, const SettingReading& reading);
// A value as status shows it, texts of the registry turned into UTF-8.
std::string ShownSetting(std::size_t row, const SettingReading& reading, CharsetSeam& charset);
// A number as status shows it: hexadecimal when large, as Java's values are.
std::string ShownNumber(std::uint32_t value);
const char* OutcomeLabel(ReadOutcome outcome);  // missing or unreadable
std::string Utf8(std::string_view ansi, CharsetSeam& charset);
