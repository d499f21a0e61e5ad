#include "app/zone_controls.h"

#include "resources/resource.h"
#include "texts/messages.h"
#include "zone/presets.h"

namespace {

using S = ZoneSetting;

}  // namespace

constexpr ZoneButton kZoneButtons[] = {
    {IDC_SCRIPT_QUERY, S::kPrompt, 0},
    {IDC_SCRIPT_ALLOW, S::kEnable, 0},
    {IDC_SCRIPT_DISALLOW, S::kDisable, 0},
    {IDC_APPLET_QUERY, S::kPrompt, 1},
    {IDC_APPLET_ALLOW, S::kEnable, 1},
    {IDC_APPLET_DISALLOW, S::kDisable, 1},
    {IDC_JAVA_HIGH, S::kHigh, 2},
    {IDC_JAVA_MEDIUM, S::kMedium, 2},
    {IDC_JAVA_LOW, S::kLow, 2},
    {IDC_JAVA_PROHIBIT, S::kDisable, 2},
    {IDC_COOKIE_QUERY, S::kPrompt, 3},
    {IDC_COOKIE_ALLOW, S::kEnable, 3},
    {IDC_COOKIE_DISALLOW, S::kDisable, 3},
    {IDC_SESSION_QUERY, S::kPrompt, 4},
    {IDC_SESSION_ALLOW, S::kEnable, 4},
    {IDC_SESSION_DISALLOW, S::kDisable, 4},
};

namespace {

struct PresetButton {
    int id;
    Preset preset;
    const char* question;
};

constexpr PresetButton kPresetButtons[] = {
    {IDC_PRESET_ALL_ON, Preset::kAllOn, kMsgConfirmAllOn},
    {IDC_PRESET_ALL_OFF, Preset::kAllOff, kMsgConfirmAllOff},
    {IDC_PRESET_STANDARD, Preset::kStandard, kMsgConfirmStandard},
};

// The button of an option's setting; 0 when there is none.
int ButtonOf(std::size_t option, ZoneSetting setting) {
    for (const ZoneButton& button : kZoneButtons) {
        if (button.option == option && button.setting == setting) {
            return button.id;
        }
    }
    return 0;
}

}  // namespace

ZoneReadings ReadZoneControls(CRegistryAccess& registry, WindowOps& window) {
    ZoneReadings readings;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        readings[option] = ReadZoneOption(registry, option);
        if (readings[option].outcome != ReadOutcome::kRead) {
            window.ShowMessage(kMsgReadFailed, kMbOk);
        }
    }
    return readings;
}

void ReflectZoneControls(const ZoneReadings& readings, WindowOps& window) {
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        if (readings[option].outcome != ReadOutcome::kRead) {
            continue;
        }
        if (const ZoneChoice* choice = FindZoneChoice(option, readings[option].value)) {
            window.PostClick(ButtonOf(option, choice->setting));
        }
    }
}

void StoreZoneButton(CRegistryAccess& registry, WindowOps& window, int id) {
    for (const ZoneButton& button : kZoneButtons) {
        if (button.id != id) {
            continue;
        }
        const ZoneChoice* choice = FindZoneChoice(button.option, button.setting);
        if (!WriteZoneOption(registry, button.option, choice->value)) {
            window.ShowMessage(kMsgZoneWriteFailed, kMbOk);
        }
        return;
    }
}

void RunPreset(WindowOps& window, int id) {
    for (const PresetButton& button : kPresetButtons) {
        if (button.id != id) {
            continue;
        }
        if (window.ShowMessage(button.question, kMbOkCancel | kMbIconExclamation) != kIdOk) {
            return;
        }
        const auto& settings = PresetSettings(button.preset);
        for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
            window.PostClick(ButtonOf(option, settings[option]));
        }
        return;
    }
}
