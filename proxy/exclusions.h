#pragma once
// The exclusion list (ProxyOverride in the settings key) and its local-address
// entry, which the dialog shows as a check box beside the rest of the list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/window/window_ops.h"
#include "store/registry_access.h"

inline constexpr const char kProxyOverrideValue[] = "ProxyOverride";
inline constexpr const char LocalToken[] = ";<local>";
constexpr std::size_t kLocalTokenLength = sizeof LocalToken - 1;

// The longest list, zero byte included, that is read, and so the longest that
// is ever stored: a list is read back whole or, when longer (only another
// program can store one), left untouched.
constexpr std::uint32_t kMaxExclusionBytes = 64 * 1024;
// What the edit box takes: room is kept for the local-address entry.
constexpr std::size_t kMaxExclusionEditLength = kMaxExclusionBytes - 1 - kLocalTokenLength;

// Removes a trailing "<local>" (compared byte for byte) together with the one
// byte before it, whatever that byte is; "<local>" alone becomes empty. The
// text ends at its first zero byte. True when something was removed.
bool StripLocalSuffix(std::string& text);

// Reads the stored list whole; a missing value gives the empty text.
ReadOutcome ReadExclusions(CRegistryAccess& registry, std::string* text);

// Click of the set-exclusions button: stores the edit box's text, with the
// local-address entry appended when its check box is checked.
void SetExclusions(CRegistryAccess& registry, WindowOps& window);

// Click of the local-address check box: adds the entry to, or strips it from,
// the stored list (not the edit box). A list that cannot be read whole is left
// as it is; after any failure the check box shows what is still stored.
void SwitchLocalAddresses(CRegistryAccess& registry, WindowOps& window);
