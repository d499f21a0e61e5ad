#pragma once
// The proxy switch (ProxyEnable) and the proxy server (ProxyServer), both in
// the settings key.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/window/window_ops.h"
#include "store/registry_access.h"

inline constexpr const char kProxyEnableValue[] = "ProxyEnable";
inline constexpr const char kProxyServerValue[] = "ProxyServer";

// A server text is read into this many bytes, its zero byte included.
constexpr std::uint32_t kServerBufferSize = 260;
// The longest server text the dialog takes, stores or lists: one that the
// start-up read gets back whole.
constexpr std::size_t kMaxServerLength = kServerBufferSize - 1;

// The controls that follow the switch, always handled in this order.
extern const std::array<int, 5> kProxyDependentControls;

// Remembers the server as read at start-up (empty when unreadable); the server
// handler puts it back after a refused text. Kept for the whole process.
void KeepStartupProxyServer(const std::string& server);

// Click of the proxy switch: enables or disables the dependent controls and
// stores 1 or 0; a failed store returns only the check mark.
void SwitchProxy(CRegistryAccess& registry, WindowOps& window);

// Click of the set-server button: refuses an empty text or one without a
// single-byte colon (restoring the start-up server), else stores it as typed.
void SetProxyServer(CRegistryAccess& registry, WindowOps& window);
