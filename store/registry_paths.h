#pragma once
// Where the browser keeps the per-user settings this program switches, and
// where policies that override them live.

inline constexpr const char kZoneKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
inline constexpr const char kSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Under HKEY_LOCAL_MACHINE: Security_HKLM_only and ProxySettingsPerUser.
inline constexpr const char kPolicySettingsKey[] =
    "Software\\Policies\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// Under either root: one value per zone option that a policy sets.
inline constexpr const char kPolicyZoneKey[] =
    "Software\\Policies\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
