#pragma once
// The proxy switch (ProxyEnable) and the proxy server (ProxyServer), both in
// the settings key.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/registry_access.h"

inline constexpr const char kProxyEnableValue[] = "ProxyEnable";
inline constexpr const char kProxyServerValue[] = "ProxyServer";

// A server text is read into this many bytes, its zero byte included.
constexpr std::uint32_t kServerBufferSize = 260;
// The longest server text that is taken, stored or listed: one that a read
// gets back whole.
constexpr std::size_t kMaxServerLength = kServerBufferSize - 1;

// Only a stored 1 means on; anything else, or nothing readable, is off.
bool ProxyIsOn(const DwordReading& reading);

DwordReading ReadProxySwitch(CRegistryAccess& registry);
bool WriteProxySwitch(ValueWriter& out, bool on);

// Whether a policy makes the proxy a machine-wide setting
// (ProxySettingsPerUser = 0), so that the per-user values have no effect.
bool ProxyIsPerMachine(CRegistryAccess& registry);

// The stored server; the text is empty unless it was read.
ReadOutcome ReadProxyServer(CRegistryAccess& registry, std::string* server);

enum class ServerStore { kStored, kBlank, kNoColon, kTooLong, kWriteFailed };

// Stores a server text as given once it passes the two checks: it is not
// empty (blanks count as text) and it has a single-byte colon somewhere,
// which is never part of a double-byte character. A text longer than a read
// gets back is refused whole, never cut.
ServerStore StoreProxyServer(ValueWriter& out, std::string_view server);
