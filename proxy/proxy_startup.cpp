#include "proxy/proxy_startup.h"

#include "app/messages.h"
#include "proxy/proxy_server.h"
#include "resources/resource.h"
#include "store/registry_paths.h"

ProxyReadings ReadProxySettings(CRegistryAccess& registry, WindowOps& window) {
    ProxyReadings readings;
    readings.enableRead = registry.ReadDword(kHkeyCurrentUser, kSettingsKey, kProxyEnableValue,
                                             &readings.enable) != 0;
    if (!readings.enableRead) {
        window.ShowMessage(kMsgReadFailed, kMbOk);
    }

    char server[kServerBufferSize] = "";
    if (registry.ReadString(kHkeyCurrentUser, kSettingsKey, kProxyServerValue, server,
                            sizeof server)) {
        readings.server = server;
        window.SetText(IDC_PROXY_SERVER, readings.server);
    }
    return readings;
}

void ShowProxySettings(const ProxyReadings& readings, WindowOps& window) {
    // What can be typed is what a start-up read gets back whole.
    window.LimitText(IDC_PROXY_SERVER, kMaxServerLength);

    KeepStartupProxyServer(readings.server);
    window.AddComboItem(IDC_PROXY_SERVER, readings.server);

    if (readings.enableRead && readings.enable == 1) {
        window.PostClick(IDC_PROXY_ENABLE);
    } else {
        for (const int id : kProxyDependentControls) {
            window.Enable(id, false);
        }
    }
}
