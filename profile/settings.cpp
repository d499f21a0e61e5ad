#include "profile/settings.h"

#include <cstring>

#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "store/registry_paths.h"
#include "zone/zone_options.h"

namespace {

SettingRow Zone(std::size_t option) {
    return {ZoneOptionTable[option].word, kZoneKey, ZoneOptionTable[option].valueName,
            SettingKind::kZone,           option,   0};
}

}  // namespace

const std::array<SettingRow, kSettingCount> SettingTable = {{
    Zone(0),
    Zone(1),
    Zone(2),
    Zone(3),
    Zone(4),
    {"proxy", kSettingsKey, kProxyEnableValue, SettingKind::kSwitch, 0, 0},
    {"server", kSettingsKey, kProxyServerValue, SettingKind::kText, 0, kServerBufferSize},
    {"override", kSettingsKey, kProxyOverrideValue, SettingKind::kText, 0, kMaxExclusionBytes},
}};

SettingReading ReadSetting(CRegistryAccess& registry, std::size_t row) {
    const SettingRow& setting = SettingTable[row];
    SettingReading reading;
    reading.outcome = setting.kind == SettingKind::kText
                          ? registry.ReadString(kHkeyCurrentUser, setting.key, setting.valueName,
                                                &reading.value.text, setting.maxBytes)
                          : registry.ReadDword(kHkeyCurrentUser, setting.key, setting.valueName,
                                               &reading.value.number);
    return reading;
}

bool WriteSetting(CRegistryAccess& registry, std::size_t row, const SettingValue& value) {
    const SettingRow& setting = SettingTable[row];
    return setting.kind == SettingKind::kText
               ? registry.WriteString(kHkeyCurrentUser, setting.key, setting.valueName, value.text)
               : registry.WriteDword(kHkeyCurrentUser, setting.key, setting.valueName,
                                     value.number);
}

SettingReading ReadingOf(std::size_t row, const std::optional<RawValue>& raw) {
    SettingReading reading;
    if (raw) {
        const SettingRow& setting = SettingTable[row];
        reading.outcome = setting.kind == SettingKind::kText
                              ? TextFromBytes(raw->bytes, setting.maxBytes, &reading.value.text)
                              : DwordFromBytes(raw->bytes, &reading.value.number);
    }
    return reading;
}

std::size_t SettingOf(const char* key, const char* valueName) {
    std::size_t row = 0;
    while (row < kSettingCount && (std::strcmp(SettingTable[row].key, key) != 0 ||
                                   std::strcmp(SettingTable[row].valueName, valueName) != 0)) {
        ++row;
    }
    return row;
}
