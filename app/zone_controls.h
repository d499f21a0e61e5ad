#pragma once
// The zone options' radio groups and the three preset buttons.
#include <array>
#include <cstddef>

#include "app/window/window_ops.h"
#include "zone/zone_options.h"

using ZoneReadings = std::array<DwordReading, kZoneOptionCount>;

// A radio button stands for one setting of one option (a row of
// ZoneOptionTable); the buttons of an option form its group.
struct ZoneButton {
    int id;
    ZoneSetting setting;
    std::size_t option;
};
extern const ZoneButton kZoneButtons[16];

// Reads the options in table order; each failed read is reported before the
// next one is made.
ZoneReadings ReadZoneControls(CRegistryAccess& registry, WindowOps& window);

// Posts a click to the button that shows each option's value, so its handler
// checks it and writes the value back; a value no button stands for, or an
// unreadable one, checks nothing.
void ReflectZoneControls(const ZoneReadings& readings, WindowOps& window);

// A click of a zone radio button stores the value it stands for.
void StoreZoneButton(CRegistryAccess& registry, WindowOps& window, int id);

// A preset button asks first and, on OK, clicks one button per option.
void RunPreset(WindowOps& window, int id);
