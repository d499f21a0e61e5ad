#include "zone/zone_options.h"

#include <utility>

#include "store/keyed_table.h"
#include "store/registry_paths.h"

namespace {

using S = ZoneSetting;

// The browser's policies: 0 allow, 1 ask, 3 disallow; for Java 0x10000 high,
// 0x20000 medium, 0x30000 low safety and 0 no Java at all.
constexpr ZoneOption kAskAllowDisallow(const char* valueName, const char* word) {
    return {valueName, word, {{{S::kPrompt, 1}, {S::kEnable, 0}, {S::kDisable, 3}}}, 3};
}

constexpr std::pair<ZoneSetting, const char*> kSettingWords[] = {
    {S::kPrompt, "prompt"}, {S::kEnable, "enable"}, {S::kDisable, "disable"},
    {S::kHigh, "high"},     {S::kMedium, "medium"}, {S::kLow, "low"},
};
static_assert(CoversInOrder(kSettingWords, kZoneSettingCount));

}  // namespace

const std::array<ZoneOption, kZoneOptionCount> ZoneOptionTable = {{
    kAskAllowDisallow("1400", "javascript"),  // active scripting
    kAskAllowDisallow("1402", "applet"),      // scripting of Java applets
    {"1C00",                                  // Java permissions
     "java",
     {{{S::kHigh, 0x10000}, {S::kMedium, 0x20000}, {S::kLow, 0x30000}, {S::kDisable, 0}}},
     4},
    kAskAllowDisallow("1A02", "cookies"),          // stored cookies
    kAskAllowDisallow("1A03", "session-cookies"),  // per-session cookies
}};

DwordReading ReadZoneOption(CRegistryAccess& registry, std::size_t option) {
    DwordReading reading;
    reading.outcome = registry.ReadDword(kHkeyCurrentUser, kZoneKey,
                                         ZoneOptionTable[option].valueName, &reading.value);
    return reading;
}

bool WriteZoneOption(ValueWriter& out, std::size_t option, std::uint32_t value) {
    return out.WriteDword(kHkeyCurrentUser, kZoneKey, ZoneOptionTable[option].valueName, value);
}

namespace {

// The first of the option's choices that holds.
template <class Holds>
const ZoneChoice* FirstChoice(std::size_t option, Holds holds) {
    const ZoneOption& row = ZoneOptionTable[option];
    for (std::size_t i = 0; i < row.choiceCount; ++i) {
        if (holds(row.choices[i])) {
            return &row.choices[i];
        }
    }
    return nullptr;
}

}  // namespace

const char* ZoneSettingWord(ZoneSetting setting) {
    return kSettingWords[static_cast<std::size_t>(setting)].second;
}

std::optional<ZoneSetting> ZoneSettingOfWord(std::string_view word) {
    for (const auto& [setting, name] : kSettingWords) {
        if (word == name) {
            return setting;
        }
    }
    return std::nullopt;
}

const ZoneChoice* FindZoneChoice(std::size_t option, std::uint32_t value) {
    return FirstChoice(option, [value](const ZoneChoice& c) { return c.value == value; });
}

const ZoneChoice* FindZoneChoice(std::size_t option, ZoneSetting setting) {
    return FirstChoice(option, [setting](const ZoneChoice& c) { return c.setting == setting; });
}

ZonePolicies ReadZonePolicies(CRegistryAccess& registry) {
    ZonePolicies policies;
    std::uint32_t value = 0;
    policies.fromMachine =
        registry.ReadDword(kHkeyLocalMachine, kPolicySettingsKey, "Security_HKLM_only", &value,
                           kKeyRead) == ReadOutcome::kRead &&
        value == 1;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        for (const RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
            if (registry.ReadDword(root, kPolicyZoneKey, ZoneOptionTable[option].valueName, &value,
                                   kKeyRead) == ReadOutcome::kRead) {
                policies.options[option] = value;
            }
        }
    }
    return policies;
}
