// The whole dialog from its start-up on, over values, server.pxy and a URL
// cache filled from the input, then any run of clicks, typing and answers.
// Whatever happens: nothing crashes or is left open, every box is one of the
// messages, the start-up writes back only values it read whole, a click
// changes only the values its control owns and leaves each readable, the
// local switch never replaces a list it cannot read, and a delete button
// deletes nothing but its kind.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>

#include "proxy/exclusions.h"
#include "tests/support/sim_window.h"
#include "texts/messages.h"

namespace {

const std::string kSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kZone = kSettings + "\\Zones\\3";
const char* const kNames[] = {"1400", "1402",        "1C00",        "1A02",
                              "1A03", "ProxyEnable", "ProxyServer", "ProxyOverride"};
const int kControls[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009,
                         1011, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1021, 1022,
                         1025, 1026, 1027, 1028, 1029, 1030};

void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

std::vector<std::optional<FakeRegistry::Value>> Values(FakeRegistry& registry) {
    std::vector<std::optional<FakeRegistry::Value>> values;
    for (int i = 0; i < 8; ++i) {
        auto& key = registry.keys[{kHkeyCurrentUser, Fold(i < 5 ? kZone : kSettings)}];
        values.push_back(key.count(Fold(kNames[i])) != 0 ? std::optional(key[Fold(kNames[i])])
                                                         : std::nullopt);
    }
    return values;
}

bool Same(const std::optional<FakeRegistry::Value>& a, const std::optional<FakeRegistry::Value>& b) {
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->bytes == b->bytes));
}

// The values a control's click may change, by their place in kNames.
std::set<int> Owned(int id) {
    const int zone = id < 1003 ? 0 : id < 1006 ? 1 : id < 1010 ? 2 : id < 1016 ? 3 : 4;
    return id <= 1018 && id != 1011   ? std::set<int>{zone}
           : id >= 1025 && id <= 1027 ? std::set<int>{0, 1, 2, 3, 4}
           : id == 1011               ? std::set<int>{5}
           : id == 1022               ? std::set<int>{6}
           : id == 1019 || id == 1021 ? std::set<int>{7}
                                      : std::set<int>{};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    NativeMachine machine;
    machine.cache.contentOnly = in.ConsumeBool();
    for (int i = 0; i < 8; ++i) {
        const std::uint32_t type = in.ConsumeIntegral<std::uint8_t>() % 8u;
        std::string bytes = in.ConsumeRandomLengthString(300);
        bytes.resize(bytes.size() * (in.ConsumeBool() ? 1 : 256), 'w');
        if (type != 0) {
            machine.registry.Put(kHkeyCurrentUser, i < 5 ? kZone : kSettings, kNames[i],
                                 FakeRegistry::Value{type, {bytes.begin(), bytes.end()}});
        }
    }
    for (const std::string& key : {kZone, kSettings}) {
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

    const std::set<std::string> messages = {
        kMsgReadFailed,    kMsgZoneWriteFailed, kMsgProxyWriteFailed,
        kMsgPortMissing,   kMsgColonMissing,    kMsgConfirmAllOn,
        kMsgConfirmAllOff, kMsgConfirmStandard, kMsgConfirmDelete};
    SimWindow window(machine);
    std::vector<int> answers;
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
        answers.push_back(in.PickValueInArray({kIdOk, kIdCancel, kIdYes, kIdNo}));
    }
    auto before = Values(machine.registry);
    for (const auto& box : window.Open(answers).boxes) {
        Require(messages.count(box.text) != 0);
    }
    auto after = Values(machine.registry);
    for (int i = 0; i < 8; ++i) {
        // A write-back stores a value read whole as the number it is.
        Require(Same(before[i], after[i]) ||
                (i < 6 && before[i]->bytes.size() == 4 && after[i]->type == kRegDword &&
                 after[i]->bytes == before[i]->bytes));
    }
    while (in.remaining_bytes() > 0) {
        const int id = in.PickValueInArray(kControls);
        if (in.ConsumeBool()) {
            window.Type(in.ConsumeBool() ? 1012 : 1020, in.ConsumeRandomLengthString(400));
        }
        before = Values(machine.registry);
        std::string list;
        const bool unreadable = ReadExclusions(machine.access, &list) == ReadOutcome::kUnreadable;
        const auto cache = machine.CacheEntries();
        const auto shown = window.Click(id, {in.PickValueInArray({kIdOk, kIdCancel, kIdYes, kIdNo})});
        for (const auto& box : shown.boxes) {
            Require(messages.count(box.text) != 0);
        }
        after = Values(machine.registry);
        for (int i = 0; i < 8; ++i) {
            Require(Same(before[i], after[i]) || (Owned(id).count(i) != 0 && !(id == 1019 && unreadable)));
        }
        std::string read;
        Require(Same(before[7], after[7]) || ReadExclusions(machine.access, &read) == ReadOutcome::kRead);
        for (const auto& entry : cache) {
            const auto left = machine.CacheEntries();
            Require(std::count(left.begin(), left.end(), entry) != 0 ||
                    (id == 1029 && !entry.cookie) || (id == 1030 && entry.cookie));
        }
    }
    Require(machine.registry.OpenHandles() == 0 && machine.cache.OpenFinds() == 0 &&
            machine.cache.LiveBlocks() == 0 && machine.cache.faults.empty());
    return 0;
}
