#include "app/zone_controls.h"

#include "resources/resource.h"
#include "texts/messages.h"
#include "zone/presets.h"

namespace {

using S = ZoneSetting;

struct ZoneButton {
    int id;
    std::size_t option;
    ZoneSetting setting;
};

constexpr ZoneButton kZoneButtons[] = {
    {IDC_SCRIPT_QUERY, 0, S::kPrompt},
    {IDC_SCRIPT_ALLOW, 0, S::kEnable},
    {IDC_SCRIPT_DISALLOW, 0, S::kDisable},
    {IDC_APPLET_QUERY, 1, S::kPrompt},
    {IDC_APPLET_ALLOW, 1, S::kEnable},
    {IDC_APPLET_DISALLOW, 1, S::kDisable},
    {IDC_JAVA_HIGH, 2, S::kHigh},
    {IDC_JAVA_MEDIUM, 2, S::kMedium},
    {IDC_JAVA_LOW, 2, S::kLow},
    {IDC_JAVA_PROHIBIT, 2, S::kDisable},
    {IDC_COOKIE_QUERY, 3, S::kPrompt},
    {IDC_COOKIE_ALLOW, 3, S::kEnable},
    {IDC_COOKIE_DISALLOW, 3, S::kDisable},
    {IDC_SESSION_QUERY, 4, S::kPrompt},
    {IDC_SESSION_ALLOW, 4, S::kEnable},
    {IDC_SESSION_DISALLOW, 4, S::kDisable},
};

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
