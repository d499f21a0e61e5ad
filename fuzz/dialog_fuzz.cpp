// The whole dialog from its start-up on, over values, server.pxy and a URL
// cache filled from the input, then any run of clicks, typing and answers.
// Whatever happens: nothing crashes or is left open, every box is one of the
// messages, the start-up writes back only numbers it read whole, a click
// changes only values its control owns, the local switch never replaces a
// list it cannot read, and a delete button deletes nothing but its kind.
#include <fuzzer/FuzzedDataProvider.h>

#include "proxy/exclusions.h"
#include "store/registry_paths.h"
#include "tests/support/sim_window.h"
#include "texts/messages.h"

namespace {

using Values = std::vector<std::optional<FakeRegistry::Value>>;
const char* const kNames[] = {"1400", "1402",        "1C00",        "1A02",
                              "1A03", "ProxyEnable", "ProxyServer", "ProxyOverride"};

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

Values Stored(FakeRegistry& registry) {
    Values values;
    for (int i = 0; i < 8; ++i) {
        auto& key = registry.keys[{kHkeyCurrentUser, Fold(i < 5 ? kZoneKey : kSettingsKey)}];
        const auto value = key.find(Fold(kNames[i]));
        values.push_back(value == key.end() ? std::nullopt : std::optional(value->second));
    }
    return values;
}

// Whether a click of the control may change the value at kNames[i].
bool Owns(int id, int i) {
    const int option = id < 1003 ? 0 : id < 1006 ? 1 : id < 1010 ? 2 : id < 1016 ? 3 : 4;
    return (id <= 1018 && id != 1011 && id != 1012 && i == option) ||
           (id >= 1025 && id <= 1027 && i < 5) || (id == 1011 && i == 5) ||
           (id == 1022 && i == 6) || ((id == 1019 || id == 1021) && i == 7);
}

void RequireKnown(const scenario::Shown& shown) {
    for (const auto& box : shown.boxes) {
        Require(box.text == kMsgReadFailed || box.text == kMsgZoneWriteFailed ||
                box.text == kMsgProxyWriteFailed || box.text == kMsgPortMissing ||
                box.text == kMsgColonMissing || box.text == kMsgConfirmAllOn ||
                box.text == kMsgConfirmAllOff || box.text == kMsgConfirmStandard ||
                box.text == kMsgConfirmDelete);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    NativeMachine machine;
    machine.cache.contentOnly = in.ConsumeBool();
    for (int i = 0; i < 8; ++i) {
        const std::uint32_t type = in.ConsumeIntegral<std::uint8_t>() % 8u;
        std::string bytes = in.ConsumeRandomLengthString(300);
        bytes.resize(bytes.size() * (in.ConsumeBool() ? 1 : 256), 'w');  // past the bounds
        if (type != 0) {
            machine.registry.Put(kHkeyCurrentUser, i < 5 ? kZoneKey : kSettingsKey, kNames[i],
                                 FakeRegistry::Value{type, {bytes.begin(), bytes.end()}});
        }
    }
    for (const char* key : {kZoneKey, kSettingsKey}) {
        if (in.ConsumeBool()) {
            machine.MakeReadOnly(scenario::Root::kCurrentUser, key);
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
    const Values read = Stored(machine.registry);
    RequireKnown(window.Open({answer(), answer(), answer(), answer(), answer(), answer()}));
    const Values opened = Stored(machine.registry);
    for (int i = 0; i < 8; ++i) {
        Require(read[i] == opened[i] ||
                (i < 6 && read[i]->bytes.size() == 4 && opened[i]->type == kRegDword &&
                 opened[i]->bytes == read[i]->bytes));
    }
    while (in.remaining_bytes() > 0) {
        const int id = in.ConsumeIntegralInRange(1000, 1030);
        if (in.ConsumeBool()) {
            window.Type(in.ConsumeBool() ? 1012 : 1020, in.ConsumeRandomLengthString(400));
        }
        if (id == 1010 || id == 1012 || id == 1020 || id == 1023 || id == 1024) {
            continue;
        }
        std::string list;
        const bool unreadable = ReadExclusions(machine.access, &list) == ReadOutcome::kUnreadable;
        const Values before = Stored(machine.registry);
        const auto cache = machine.CacheEntries();
        RequireKnown(
            window.Click(id, {answer(), answer(), answer(), answer(), answer(), answer()}));
        const Values after = Stored(machine.registry);
        for (int i = 0; i < 8; ++i) {
            Require(before[i] == after[i] || (Owns(id, i) && !(id == 1019 && unreadable)));
        }
        const auto left = machine.CacheEntries();
        for (const auto& entry : cache) {
            const auto kept = [&entry](const scenario::CacheEntry& e) {
                return e.url == entry.url;
            };
            Require(std::any_of(left.begin(), left.end(), kept) || (id == 1029 && !entry.cookie) ||
                    (id == 1030 && entry.cookie));
        }
    }
    Require(machine.registry.OpenHandles() + machine.cache.OpenFinds() +
                machine.cache.LiveBlocks() + machine.cache.faults.size() ==
            0);
    return 0;
}
