#include "zone/zone_settings.h"

#include "app/messages.h"
#include "store/registry_paths.h"

ZoneReadings ReadZoneOptions(CRegistryAccess& registry, WindowOps& window) {
    ZoneReadings readings;
    for (std::size_t row = 0; row < kZoneOptionCount; ++row) {
        ZoneReading& reading = readings[row];
        reading.read = registry.ReadDword(kHkeyCurrentUser, kZoneKey,
                                          ZoneOptionTable[row].valueName, &reading.value) != 0;
        if (!reading.read) {
            window.ShowMessage(kMsgReadFailed, kMbOk);
        }
    }
    return readings;
}

void ReflectZoneOptions(const ZoneReadings& readings, WindowOps& window) {
    for (std::size_t row = 0; row < kZoneOptionCount; ++row) {
        if (!readings[row].read) {
            continue;
        }
        const ZoneOption& option = ZoneOptionTable[row];
        for (std::size_t i = 0; i < option.buttonCount; ++i) {
            if (option.buttons[i].value == readings[row].value) {
                window.PostClick(option.buttons[i].id);
                break;
            }
        }
    }
}

void StoreZoneButton(CRegistryAccess& registry, WindowOps& window, int buttonId) {
    const ZoneButton* button = nullptr;
    const ZoneOption* option = FindZoneOption(buttonId, &button);
    if (option == nullptr) {
        return;
    }
    if (!registry.WriteDword(kHkeyCurrentUser, kZoneKey, option->valueName, button->value)) {
        window.ShowMessage(kMsgZoneWriteFailed, kMbOk);
    }
}
