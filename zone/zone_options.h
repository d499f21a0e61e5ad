#pragma once
// The five Internet-zone options: one DWORD value each in the zone key, and
// the values the program offers for each.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "store/registry_access.h"

// What a value means to the browser.
enum class ZoneSetting { kPrompt, kEnable, kDisable, kHigh, kMedium, kLow };
constexpr std::size_t kZoneSettingCount = 6;

struct ZoneChoice {
    ZoneSetting setting;
    std::uint32_t value;
};

struct ZoneOption {
    const char* valueName;
    const char* word;  // its name on the command line and in profiles
    // In the order a stored value is matched against them.
    std::array<ZoneChoice, 4> choices;
    std::size_t choiceCount;
};

constexpr std::size_t kZoneOptionCount = 5;
extern const std::array<ZoneOption, kZoneOptionCount> ZoneOptionTable;

DwordReading ReadZoneOption(CRegistryAccess& registry, std::size_t option);
bool WriteZoneOption(ValueWriter& out, std::size_t option, std::uint32_t value);

// What policies say of the zone options: all five may come from the machine
// (Security_HKLM_only = 1), and a policy value of an option's own name, under
// either root, sets that option (the machine's wins).
struct ZonePolicies {
    bool fromMachine = false;
    std::array<std::optional<std::uint32_t>, kZoneOptionCount> options;
};
ZonePolicies ReadZonePolicies(CRegistryAccess& registry);

// A setting's name on the command line and in profiles, and the setting of a
// name.
const char* ZoneSettingWord(ZoneSetting setting);
std::optional<ZoneSetting> ZoneSettingOfWord(std::string_view word);

// The option's choice that a stored value stands for, or the choice of a
// setting; null when there is none.
const ZoneChoice* FindZoneChoice(std::size_t option, std::uint32_t value);
const ZoneChoice* FindZoneChoice(std::size_t option, ZoneSetting setting);
