#include "zone/presets.h"

#include "app/messages.h"
#include "resources/resource.h"

const std::array<Preset, kPresetCount> PresetTable = {{
    {IDC_PRESET_ALL_ON,
     kMsgConfirmAllOn,
     {IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_LOW, IDC_COOKIE_ALLOW, IDC_SESSION_ALLOW}},
    {IDC_PRESET_ALL_OFF,
     kMsgConfirmAllOff,
     {IDC_SCRIPT_DISALLOW, IDC_APPLET_DISALLOW, IDC_JAVA_PROHIBIT, IDC_COOKIE_DISALLOW,
      IDC_SESSION_DISALLOW}},
    {IDC_PRESET_STANDARD,
     kMsgConfirmStandard,
     {IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_HIGH, IDC_COOKIE_ALLOW, IDC_SESSION_ALLOW}},
}};

const Preset* FindPreset(int presetId) {
    for (const Preset& preset : PresetTable) {
        if (preset.id == presetId) {
            return &preset;
        }
    }
    return nullptr;
}

void RunPreset(WindowOps& window, int presetId) {
    const Preset* preset = FindPreset(presetId);
    if (preset == nullptr) {
        return;
    }
    if (window.ShowMessage(preset->question, kMbOkCancel | kMbIconExclamation) != kIdOk) {
        return;
    }
    for (const int button : preset->buttons) {
        window.PostClick(button);
    }
}
