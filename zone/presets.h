#pragma once
// The three buttons that set all five zone options at once. A preset writes
// nothing itself: after a confirmation it clicks one radio button per option,
// so the options' own handlers store the values and report their failures.
#include <array>
#include <cstddef>

#include "app/window/window_ops.h"
#include "zone/zone_options.h"

struct Preset {
    int id;
    const char* question;  // UTF-8
    // One radio button per option, in the order of the zone option table.
    std::array<int, kZoneOptionCount> buttons;
};

constexpr std::size_t kPresetCount = 3;
extern const std::array<Preset, kPresetCount> PresetTable;

// The row of a preset button, or nullptr when it is not one.
const Preset* FindPreset(int presetId);

// Asks the preset's question and, on OK, posts its five clicks.
void RunPreset(WindowOps& window, int presetId);
