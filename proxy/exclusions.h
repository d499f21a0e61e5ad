#pragma once
// The exclusion list (ProxyOverride in the settings key) and its local-address
// entry: "<local>" at the end of the list keeps local addresses off the proxy.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/registry_access.h"

inline constexpr const char kProxyOverrideValue[] = "ProxyOverride";
inline constexpr const char LocalToken[] = ";<local>";
constexpr std::size_t kLocalTokenLength = sizeof LocalToken - 1;

// The longest list, zero byte included, that is read, and so the longest that
// is ever stored: a list is read back whole or, when longer (only another
// program can store one), left untouched.
constexpr std::uint32_t kMaxExclusionBytes = 64 * 1024;
// The longest list that can still take the local-address entry.
constexpr std::size_t kMaxExclusionEditLength = kMaxExclusionBytes - 1 - kLocalTokenLength;

// Removes a trailing "<local>" (compared byte for byte) together with the one
// byte before it, whatever that byte is; "<local>" alone becomes empty. The
// text ends at its first zero byte. True when something was removed.
bool StripLocalSuffix(std::string& text);

// Reads the stored list whole; the list is empty unless it was read.
ReadOutcome ReadExclusions(CRegistryAccess& registry, std::string* list);

enum class ListStore { kStored, kTooLong, kWriteFailed };

// Stores the list as given, with the local-address entry appended when
// `local`. A result that could not be read back whole is refused; nothing is
// ever cut.
ListStore StoreExclusions(ValueWriter& out, std::string list, bool local);

// A list that is already as asked counts as unchanged; a stored list too long
// to take the entry counts as a failed write.
enum class LocalSwitch { kStored, kUnchanged, kUnreadable, kWriteFailed };

// Adds the local-address entry to the list read from the registry, or strips
// it, and writes the result to out. A list that
// exists but cannot be read whole is left as it is. With `ifNeeded`, a list
// that already is as asked is left unchanged; without it, switching on
// appends the entry whatever the list ends in, as a click on a check box that
// was clear does.
LocalSwitch SwitchLocalAddresses(CRegistryAccess& registry, ValueWriter& out, bool on,
                                 bool ifNeeded);
