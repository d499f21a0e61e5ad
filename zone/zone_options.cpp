#include "zone/zone_options.h"

#include "resources/resource.h"

// Buttons in the order their values are compared at start-up.
const std::array<ZoneOption, kZoneOptionCount> ZoneOptionTable = {{
    {"1400", {{{IDC_SCRIPT_QUERY, 1}, {IDC_SCRIPT_ALLOW, 0}, {IDC_SCRIPT_DISALLOW, 3}}}, 3},
    {"1402", {{{IDC_APPLET_QUERY, 1}, {IDC_APPLET_ALLOW, 0}, {IDC_APPLET_DISALLOW, 3}}}, 3},
    {"1C00",
     {{{IDC_JAVA_HIGH, 0x10000},
       {IDC_JAVA_MEDIUM, 0x20000},
       {IDC_JAVA_LOW, 0x30000},
       {IDC_JAVA_PROHIBIT, 0}}},
     4},
    {"1A02", {{{IDC_COOKIE_QUERY, 1}, {IDC_COOKIE_ALLOW, 0}, {IDC_COOKIE_DISALLOW, 3}}}, 3},
    {"1A03", {{{IDC_SESSION_QUERY, 1}, {IDC_SESSION_ALLOW, 0}, {IDC_SESSION_DISALLOW, 3}}}, 3},
}};

const ZoneOption* FindZoneOption(int buttonId, const ZoneButton** button) {
    for (const ZoneOption& option : ZoneOptionTable) {
        for (std::size_t i = 0; i < option.buttonCount; ++i) {
            if (option.buttons[i].id == buttonId) {
                *button = &option.buttons[i];
                return &option;
            }
        }
    }
    return nullptr;
}
