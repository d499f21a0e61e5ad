#pragma once
// The single switches of the console and the tray, through a change: each
// writes as the dialog's click does, even when the value already is so (but
// `SetLocalAddresses`, which leaves a list that already is as asked).
#include <array>
#include <string_view>

#include "change/setting_change.h"
#include "proxy/proxy_settings.h"
#include "zone/presets.h"

// What a switch did.
enum class SwitchEnd {
    kDone,
    kUnchanged,     // already as asked: nothing written
    kBlank,         // a server: empty; nothing written
    kNoColon,       // a server: no colon; nothing written
    kTooLong,       // a server or list a read would not get back whole; nothing written
    kUnreadable,    // the stored list cannot be read, so it is left as it is
    kWriteFailed,   // nothing written
    kUndoNotSaved,  // the way back could not be recorded, so nothing was written
};

// How a write through the change ended: when it failed, the change tells
// whether for want of a way back.
inline SwitchEnd Written(const SettingChange& change, bool written) {
    if (written) {
        return SwitchEnd::kDone;
    }
    return change.Failure() == ChangeFailure::kUndoNotSaved ? SwitchEnd::kUndoNotSaved
                                                            : SwitchEnd::kWriteFailed;
}

// The one-line switches are here, so that a front end that needs only them
// links none of the others.
inline SwitchEnd SwitchZone(SettingChange& change, std::size_t option, ZoneSetting setting) {
    return Written(change, WriteZoneOption(change, option, FindZoneChoice(option, setting)->value));
}
inline SwitchEnd SwitchProxy(SettingChange& change, bool on) {
    return Written(change, WriteProxySwitch(change, on));
}
// Each option's end, in the option table's order: as the dialog's five
// clicks, a failure does not stop the others.
std::array<SwitchEnd, kZoneOptionCount> SwitchPreset(SettingChange& change, Preset preset);
// Texts in the system's code page.
SwitchEnd SetProxyServer(SettingChange& change, std::string_view server);
// Keeps the stored local-address entry as it is, as the dialog's set button
// keeps what its check box shows.
SwitchEnd SetProxyBypass(SettingChange& change, std::string_view list);
SwitchEnd SetLocalAddresses(SettingChange& change, bool on);
