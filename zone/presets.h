#pragma once
// The three presets that set all five zone options at once.
#include <array>

#include "zone/zone_options.h"

enum class Preset { kAllOn, kAllOff, kStandard };

// The setting a preset gives each option, in the order of the option table.
const std::array<ZoneSetting, kZoneOptionCount>& PresetSettings(Preset preset);
