#include "proxy/proxy_settings.h"

#include "store/registry_paths.h"

DwordReading ReadProxySwitch(CRegistryAccess& registry) {
    DwordReading reading;
    reading.outcome =
        registry.ReadDword(kHkeyCurrentUser, kSettingsKey, kProxyEnableValue, &reading.value);
    return reading;
}

bool ProxyIsOn(const DwordReading& reading) {
    return reading.outcome == ReadOutcome::kRead && reading.value == 1;
}

bool WriteProxySwitch(ValueWriter& out, bool on) {
    return out.WriteDword(kHkeyCurrentUser, kSettingsKey, kProxyEnableValue, on ? 1 : 0);
}

bool ProxyIsPerMachine(CRegistryAccess& registry) {
    std::uint32_t perUser = 1;
    return registry.ReadDword(kHkeyLocalMachine, kPolicySettingsKey, "ProxySettingsPerUser",
                              &perUser, kKeyRead) == ReadOutcome::kRead &&
           perUser == 0;
}

ReadOutcome ReadProxyServer(CRegistryAccess& registry, std::string* server) {
    return registry.ReadString(kHkeyCurrentUser, kSettingsKey, kProxyServerValue, server,
                               kServerBufferSize);
}

ServerStore StoreProxyServer(ValueWriter& out, std::string_view server) {
    if (server.empty()) {
        return ServerStore::kBlank;
    }
    if (server.find(':') == std::string_view::npos) {
        return ServerStore::kNoColon;
    }
    if (server.size() > kMaxServerLength) {
        return ServerStore::kTooLong;
    }
    return out.WriteString(kHkeyCurrentUser, kSettingsKey, kProxyServerValue, server)
               ? ServerStore::kStored
               : ServerStore::kWriteFailed;
}
