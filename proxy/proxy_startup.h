#pragma once
// The proxy side of the main dialog's start-up: the reads, which come before
// the zone clicks are posted, and the filling of the controls after them.
#include <cstdint>
#include <string>

#include "app/window/window_ops.h"
#include "proxy/file_seam.h"
#include "store/registry_access.h"

struct ProxyReadings {
    bool enableRead = false;
    std::uint32_t enable = 0;
    std::string server;      // empty when unreadable
    std::string exclusions;  // empty when missing or unreadable
};

// Reads ProxyEnable (a failure is reported), then ProxyServer and
// ProxyOverride (silently), and puts the server into the combo box's field.
ProxyReadings ReadProxySettings(CRegistryAccess& registry, WindowOps& window);

// Keeps the start-up server, shows the local-address entry and the rest of the
// exclusion list, lists the stored server and then the server list file, and
// enters the switch's state: on by a posted click (which stores 1 again), off
// directly without a write.
void ShowProxySettings(const ProxyReadings& readings, FileSeam* files, WindowOps& window);
