#include "profile/settings.h"

#include <cstring>

#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "store/registry_paths.h"
#include "zone/zone_options.h"

const std::array<SettingRow, kSettingCount> SettingTable = [] {
    std::array<SettingRow, kSettingCount> table{};
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        table[option] = {ZoneOptionTable[option].word, kZoneKey, ZoneOptionTable[option].valueName,
                         SettingKind::kZone,           option,   0};
    }
    table[kProxyRow] = {"proxy", kSettingsKey, kProxyEnableValue, SettingKind::kSwitch, 0, 0};
    table[kServerRow] = {"server", kSettingsKey,     kProxyServerValue, SettingKind::kText,
                         0,        kServerBufferSize};
    table[kOverrideRow] = {"override", kSettingsKey,      kProxyOverrideValue, SettingKind::kText,
                           0,          kMaxExclusionBytes};
    return table;
}();
static_assert(kZoneOptionCount == kProxyRow && kOverrideRow + 1 == kSettingCount);

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

SettingReadings ReadSettings(CRegistryAccess& registry) {
    SettingReadings readings;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        readings[row] = ReadSetting(registry, row);
    }
    return readings;
}

RawValue StoredValue(std::size_t row, const SettingValue& value) {
    return SettingTable[row].kind == SettingKind::kText ? StringValue(value.text)
                                                        : DwordValue(value.number);
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

ReadOutcome ReadStored(CRegistryAccess& registry, std::size_t row, std::optional<RawValue>* value) {
    const SettingRow& setting = SettingTable[row];
    RawValue found;
    const ReadOutcome read =
        registry.ReadRaw(kHkeyCurrentUser, setting.key, setting.valueName, &found);
    value->reset();
    if (read == ReadOutcome::kRead) {
        *value = std::move(found);
    }
    return read;
}

bool WriteStored(CRegistryAccess& registry, std::size_t row, const std::optional<RawValue>& value) {
    const SettingRow& setting = SettingTable[row];
    return registry.WriteRaw(kHkeyCurrentUser, setting.key, setting.valueName, value);
}

std::size_t SettingOf(const char* key, const char* valueName) {
    std::size_t row = 0;
    while (row < kSettingCount && (std::strcmp(SettingTable[row].key, key) != 0 ||
                                   std::strcmp(SettingTable[row].valueName, valueName) != 0)) {
        ++row;
    }
    return row;
}

std::size_t SettingOfWord(std::string_view word) {
    std::size_t row = 0;
    while (row < kSettingCount && word != SettingTable[row].word) {
        ++row;
    }
    return row;
}
