#pragma once
// The main dialog's controls by kind, for the drivers and the fuzz target: the
// radio buttons are the product's zone buttons (kZoneButtons), grouped by
// option; the others are named here.
#include <vector>

#include "app/zone_controls.h"
#include "resources/resource.h"

inline constexpr int kCheckBoxes[] = {IDC_PROXY_ENABLE, IDC_PROXY_LOCAL};
inline constexpr int kTextFields[] = {IDC_PROXY_SERVER, IDC_PROXY_OVERRIDE};
inline constexpr int kPushButtons[] = {
    IDC_SET_OVERRIDE,    IDC_SET_SERVER, IDC_PRESET_ALL_ON,     IDC_PRESET_ALL_OFF,
    IDC_PRESET_STANDARD, IDC_ABOUT,      IDC_DELETE_TEMP_FILES, IDC_DELETE_COOKIES};

// What holds a check mark.
inline std::vector<int> CheckableControls() {
    std::vector<int> ids(std::begin(kCheckBoxes), std::end(kCheckBoxes));
    for (const ZoneButton& button : kZoneButtons) {
        ids.push_back(button.id);
    }
    return ids;
}
