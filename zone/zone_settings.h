#pragma once
// Reading, showing and storing the zone options.
#include <array>
#include <cstdint>

#include "app/window/window_ops.h"
#include "store/registry_access.h"
#include "zone/zone_options.h"

struct ZoneReading {
    bool read = false;
    std::uint32_t value = 0;
};
using ZoneReadings = std::array<ZoneReading, kZoneOptionCount>;

// Reads the options in table order; each failed read is reported before the
// next one is made.
ZoneReadings ReadZoneOptions(CRegistryAccess& registry, WindowOps& window);

// Posts a click to the button of each row whose value it shows, so the click
// handler checks it and writes the value back.
void ReflectZoneOptions(const ZoneReadings& readings, WindowOps& window);

// Stores the value of a clicked zone radio button.
void StoreZoneButton(CRegistryAccess& registry, WindowOps& window, int buttonId);
