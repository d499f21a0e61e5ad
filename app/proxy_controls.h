#pragma once
// The proxy group: the switch and the five controls that follow it, the
// server field with its list, the exclusion list and the local-address box.
#include <string>

#include "app/window/window_ops.h"
#include "store/file_seam.h"
#include "proxy/proxy_settings.h"

class ProxyControls {
  public:
    ProxyControls(CRegistryAccess& registry, FileSeam& files)
        : registry_(registry), files_(files) {}

    // The reads, which come after the zone options' and before their clicks
    // are posted: the switch (a failure is reported), then the server, which
    // goes into the field at once, and the exclusion list (both silently).
    void ReadAtStartup(WindowOps& window);
    // Fills the rest from what was read and enters the switch's state: on by
    // a posted click (which stores 1 again), off directly, without a write.
    void ShowAtStartup(WindowOps& window);

    void OnSwitch(WindowOps& window);
    void OnSetServer(WindowOps& window);
    void OnSetExclusions(WindowOps& window);
    void OnLocalAddresses(WindowOps& window);

  private:
    CRegistryAccess& registry_;
    FileSeam& files_;
    DwordReading switch_;
    // The server as read at start-up, empty when unreadable: a refused text
    // is replaced by it.
    std::string startupServer_;
    std::string startupExclusions_;
};
