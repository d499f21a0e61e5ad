#pragma once
// Registry values that let the main dialog start without a single failure
// box: the five zone values and a proxy switched off. Tests change what they
// are about on top of this.
#include <windows.h>

#include <array>

#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"

namespace e2e {

struct ZoneValue {
    const char* name;
    DWORD value;
};

// One listed value per group, none of them the first button of its group.
inline constexpr std::array<ZoneValue, 5> kReadableZoneValues = {{
    {"1400", 3},        // JavaScriptを無効
    {"1402", 0},        // JavaAppletを有効
    {"1C00", 0x20000},  // 安全性-中
    {"1A02", 3},        // Cookieを無効
    {"1A03", 0},        // Cookieを有効
}};

inline bool StoreReadableStartupValues() {
    bool ok = SetDword(kSettingsKey, "ProxyEnable", 0);
    for (const ZoneValue& zone : kReadableZoneValues) {
        ok = SetDword(kZoneKey, zone.name, zone.value) && ok;
    }
    return ok;
}

}  // namespace e2e
