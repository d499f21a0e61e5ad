#include "zone/presets.h"

namespace {

using S = ZoneSetting;

// Scripting, applets, Java, stored cookies, per-session cookies. "Standard"
// differs from "all on" only in Java's safety.
constexpr std::array<ZoneSetting, kZoneOptionCount> kAllOn = {S::kEnable, S::kEnable, S::kLow,
                                                              S::kEnable, S::kEnable};
constexpr std::array<ZoneSetting, kZoneOptionCount> kAllOff = {
    S::kDisable, S::kDisable, S::kDisable, S::kDisable, S::kDisable};
constexpr std::array<ZoneSetting, kZoneOptionCount> kStandard = {S::kEnable, S::kEnable, S::kHigh,
                                                                 S::kEnable, S::kEnable};

}  // namespace

const std::array<ZoneSetting, kZoneOptionCount>& PresetSettings(Preset preset) {
    switch (preset) {
        case Preset::kAllOff:
            return kAllOff;
        case Preset::kStandard:
            return kStandard;
        case Preset::kAllOn:
            break;
    }
    return kAllOn;
}
