#include "proxy/proxy_startup.h"

#include "app/messages.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_server.h"
#include "proxy/server_list.h"
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

    if (ReadExclusions(registry, &readings.exclusions) != ReadOutcome::kRead) {
        readings.exclusions.clear();
    }
    return readings;
}

void ShowProxySettings(const ProxyReadings& readings, FileSeam* files, WindowOps& window) {
    // What can be typed is what a start-up read gets back whole.
    window.LimitText(IDC_PROXY_SERVER, kMaxServerLength);
    window.LimitText(IDC_PROXY_OVERRIDE, kMaxExclusionEditLength);

    KeepStartupProxyServer(readings.server);
    std::string exclusions = readings.exclusions;
    if (StripLocalSuffix(exclusions)) {
        window.SetCheck(IDC_PROXY_LOCAL, true);
    }
    window.AddComboItem(IDC_PROXY_SERVER, readings.server);
    LoadServerList(files, window);
    window.SetText(IDC_PROXY_OVERRIDE, exclusions);

    if (readings.enableRead && readings.enable == 1) {
        window.PostClick(IDC_PROXY_ENABLE);
    } else {
        for (const int id : kProxyDependentControls) {
            window.Enable(id, false);
        }
    }
}
