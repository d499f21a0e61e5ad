#pragma once
// The five Internet-zone options: one registry value each, one radio group
// each, one button per value the group can show.
#include <array>
#include <cstddef>
#include <cstdint>

struct ZoneButton {
    int id;
    std::uint32_t value;
};

struct ZoneOption {
    const char* valueName;
    std::array<ZoneButton, 4> buttons;
    std::size_t buttonCount;
};

constexpr std::size_t kZoneOptionCount = 5;
extern const std::array<ZoneOption, kZoneOptionCount> ZoneOptionTable;

// The row and button of a radio button id, or nullptr when it is not one.
const ZoneOption* FindZoneOption(int buttonId, const ZoneButton** button);
