#pragma once
// The proxy side of the main dialog's start-up: the reads, which come before
// the zone clicks are posted, and the filling of the controls after them.
#include <cstdint>
#include <string>

#include "app/window/window_ops.h"
#include "store/registry_access.h"

struct ProxyReadings {
    bool enableRead = false;
    std::uint32_t enable = 0;
    std::string server;  // empty when unreadable
};

// Reads ProxyEnable (a failure is reported) and then ProxyServer (silently),
// and puts the server into the combo box's field.
ProxyReadings ReadProxySettings(CRegistryAccess& registry, WindowOps& window);

// Keeps the start-up server, lists it first and enters the switch's state:
// on by a posted click (which stores 1 again), off directly without a write.
void ShowProxySettings(const ProxyReadings& readings, WindowOps& window);
