#pragma once
// The eight values the dialog shows, as profiles and the undo point name them:
// the five zone options, the proxy switch, its server and its exclusion list.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/registry_access.h"

enum class SettingKind { kZone, kSwitch, kText };

struct SettingRow {
    const char* word;  // its key in a profile and the undo point
    const char* key;   // under HKEY_CURRENT_USER
    const char* valueName;
    SettingKind kind;
    std::size_t option;      // zone: the option table's row
    std::uint32_t maxBytes;  // text: what the dialog's read takes, zero byte included
};

// The rows: first the zone options, in the option table's order (the row of
// option i is i), then these.
constexpr std::size_t kProxyRow = 5;
constexpr std::size_t kServerRow = 6;
constexpr std::size_t kOverrideRow = 7;
constexpr std::size_t kSettingCount = 8;
extern const std::array<SettingRow, kSettingCount> SettingTable;

// A number for the zone options and the switch; a text, in the system's code
// page, for the others.
struct SettingValue {
    std::uint32_t number = 0;
    std::string text;
    bool operator==(const SettingValue& other) const = default;
};

struct SettingReading {
    ReadOutcome outcome = ReadOutcome::kMissing;
    SettingValue value;
};
using SettingReadings = std::array<SettingReading, kSettingCount>;

// As the dialog reads it, and as the dialog writes it: numbers as REG_DWORD,
// texts as REG_SZ.
SettingReading ReadSetting(CRegistryAccess& registry, std::size_t row);
SettingReadings ReadSettings(CRegistryAccess& registry);
// The value as the dialog stores it.
RawValue StoredValue(std::size_t row, const SettingValue& value);
// What a value as stored (nullopt: missing) reads as.
SettingReading ReadingOf(std::size_t row, const std::optional<RawValue>& raw);
// A setting's value exactly as stored, type and bytes; nullopt when missing.
ReadOutcome ReadStored(CRegistryAccess& registry, std::size_t row, std::optional<RawValue>* value);
// Stores a setting's value exactly as given; nullopt deletes it.
bool WriteStored(CRegistryAccess& registry, std::size_t row, const std::optional<RawValue>& value);

// The row of a value of HKEY_CURRENT_USER; kSettingCount when it is none of them.
std::size_t SettingOf(const char* key, const char* valueName);
// The row of a word of profiles and the undo point (lower case); kSettingCount
// when it names none.
std::size_t SettingOfWord(std::string_view word);
