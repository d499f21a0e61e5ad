// The whole dialog from its start-up on, over values, server.pxy and a URL
// cache filled from the input, then any run of clicks, typing and answers.
// Whatever happens: nothing crashes or is left open, every box is one of the
// messages, the start-up writes back only numbers it read whole, a click
// changes only values its control owns, the local switch never replaces a
// list it cannot read, and a delete button deletes nothing but its kind.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/require.h"
#include "profile/settings.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "store/registry_paths.h"
#include "tests/support/sim_window.h"
#include "texts/messages.h"

namespace {

// The values the dialog reads, in the setting table's order.
using Values = std::vector<std::optional<RawValue>>;

Values Stored(NativeMachine& machine) {
    Values values;
    for (const SettingRow& row : SettingTable) {
        values.push_back(machine.Value(kHkeyCurrentUser, row.key, row.valueName));
    }
    return values;
}

// Whether a click of the control may change the setting of the row. A zone
// button's option is the product's table's; the presets and the proxy
// group's controls are bound to what they store in code only, so they are
// named here.
bool Owns(int id, const SettingRow& row) {
    for (const ZoneButton& button : kZoneButtons) {
        if (button.id == id) {
            return row.kind == SettingKind::kZone && row.option == button.option;
        }
    }
    const std::string_view value = row.valueName;
    const bool preset =
        id == IDC_PRESET_ALL_ON || id == IDC_PRESET_ALL_OFF || id == IDC_PRESET_STANDARD;
    return (preset && row.kind == SettingKind::kZone) ||
           (id == IDC_PROXY_ENABLE && value == kProxyEnableValue) ||
           (id == IDC_SET_SERVER && value == kProxyServerValue) ||
           ((id == IDC_PROXY_LOCAL || id == IDC_SET_OVERRIDE) && value == kProxyOverrideValue);
}

void RequireKnown(const scenario::Shown& shown) {
    const std::string_view known[] = {kMsgReadFailed,    kMsgZoneWriteFailed, kMsgProxyWriteFailed,
                                      kMsgPortMissing,   kMsgColonMissing,    kMsgConfirmAllOn,
                                      kMsgConfirmAllOff, kMsgConfirmStandard, kMsgConfirmDelete};
    for (const auto& box : shown.boxes) {
        Require(std::find(std::begin(known), std::end(known), box.text) != std::end(known));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    NativeMachine machine;
    machine.cache.contentOnly = in.ConsumeBool();
    for (const SettingRow& row : SettingTable) {
        const std::uint32_t type = in.ConsumeIntegral<std::uint8_t>() % 8u;
        std::string bytes = in.ConsumeRandomLengthString(300);
        bytes.resize(bytes.size() * (in.ConsumeBool() ? 1 : 256), 'w');  // past the bounds
        if (type != 0) {
            machine.SetValue(kHkeyCurrentUser, row.key, row.valueName, RawValue{type, bytes});
        }
    }
    for (const char* key : {kZoneKey, kSettingsKey}) {
        if (in.ConsumeBool()) {
            machine.MakeReadOnly(kHkeyCurrentUser, key);
        }
    }
    machine.SetServerList(in.ConsumeRandomLengthString(300));
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n) {
        const bool cookie = in.ConsumeBool();
        machine.cache.Add((cookie ? "Cookie:" : "") + in.ConsumeRandomLengthString(20), cookie,
                          in.ConsumeIntegralInRange(0, 9000));
    }

    SimWindow window(machine);
    const auto answer = [&in] { return in.PickValueInArray({kIdOk, kIdCancel, kIdYes, kIdNo}); };
    const Values read = Stored(machine);
    RequireKnown(window.Open({answer(), answer(), answer(), answer(), answer(), answer()}));
    const Values opened = Stored(machine);
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const bool number = SettingTable[i].kind != SettingKind::kText;
        Require(read[i] == opened[i] ||
                (number && read[i]->bytes.size() == 4 && opened[i]->type == kRegDword &&
                 opened[i]->bytes == read[i]->bytes));
    }
    std::vector<int> clickable = CheckableControls();  // and the push buttons
    clickable.insert(clickable.end(), std::begin(kPushButtons), std::end(kPushButtons));
    while (in.remaining_bytes() > 0) {
        const int id = clickable[in.ConsumeIntegralInRange<std::size_t>(0, clickable.size() - 1)];
        if (in.ConsumeBool()) {
            window.Type(kTextFields[in.ConsumeBool()], in.ConsumeRandomLengthString(400));
        }
        std::string list;
        const bool unreadable = ReadExclusions(machine.access, &list) == ReadOutcome::kUnreadable;
        const Values before = Stored(machine);
        const auto cache = machine.CacheEntries();
        RequireKnown(
            window.Click(id, {answer(), answer(), answer(), answer(), answer(), answer()}));
        const Values after = Stored(machine);
        for (std::size_t i = 0; i < kSettingCount; ++i) {
            Require(before[i] == after[i] ||
                    (Owns(id, SettingTable[i]) && !(id == IDC_PROXY_LOCAL && unreadable)));
        }
        const auto left = machine.CacheEntries();
        for (const auto& entry : cache) {
            const auto kept = [&entry](const scenario::CacheEntry& e) {
                return e.url == entry.url;
            };
            Require(std::any_of(left.begin(), left.end(), kept) ||
                    (id == IDC_DELETE_TEMP_FILES && !entry.cookie) ||
                    (id == IDC_DELETE_COOKIES && entry.cookie));
        }
    }
    Require(machine.registry.OpenHandles() + machine.cache.Held() + machine.cache.faults.size() ==
            0);
    return 0;
}
