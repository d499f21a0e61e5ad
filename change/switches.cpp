#include "change/switches.h"

#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"

std::array<SwitchEnd, kZoneOptionCount> SwitchPreset(SettingChange& change, Preset preset) {
    std::array<SwitchEnd, kZoneOptionCount> ends{};
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        ends[option] = SwitchZone(change, option, PresetSettings(preset)[option]);
    }
    return ends;
}

SwitchEnd SetProxyServer(SettingChange& change, std::string_view server) {
    switch (StoreProxyServer(change, server)) {
        case ServerStore::kStored:
            return SwitchEnd::kDone;
        case ServerStore::kBlank:
            return SwitchEnd::kBlank;
        case ServerStore::kNoColon:
            return SwitchEnd::kNoColon;
        case ServerStore::kTooLong:
            return SwitchEnd::kTooLong;
        case ServerStore::kWriteFailed:
            break;
    }
    return Written(change, false);
}

SwitchEnd SetProxyBypass(SettingChange& change, std::string_view list) {
    std::string stored;
    if (ReadExclusions(change.Registry(), &stored) == ReadOutcome::kUnreadable) {
        return SwitchEnd::kUnreadable;
    }
    switch (StoreExclusions(change, std::string(list), StripLocalSuffix(stored))) {
        case ListStore::kStored:
            return SwitchEnd::kDone;
        case ListStore::kTooLong:
            return SwitchEnd::kTooLong;
        case ListStore::kWriteFailed:
            break;
    }
    return Written(change, false);
}

SwitchEnd SetLocalAddresses(SettingChange& change, bool on) {
    switch (SwitchLocalAddresses(change.Registry(), change, on, true)) {
        case LocalSwitch::kStored:
            return SwitchEnd::kDone;
        case LocalSwitch::kUnchanged:
            return SwitchEnd::kUnchanged;
        case LocalSwitch::kUnreadable:
            return SwitchEnd::kUnreadable;
        case LocalSwitch::kWriteFailed:
            break;
    }
    return Written(change, false);
}
