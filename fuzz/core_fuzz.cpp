// Any stored bytes through the core's readers and rules. Whatever is stored:
// nothing is read past its bound, no key is left open, a server list line
// holds no line end, and the local switch never loses the list's entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "fuzz/require.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"
#include "store/registry_paths.h"
#include "tests/support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    // A piece of the input repeated to a short length, or to one near the
    // longest read.
    const auto type = in.ConsumeIntegral<std::uint8_t>();
    const auto length = in.ConsumeIntegralInRange<std::size_t>(0, 600) +
                        (in.ConsumeBool() ? kMaxExclusionBytes - 300 : 0);
    const auto maxBytes = in.ConsumeIntegralInRange<std::uint32_t>(1, kMaxExclusionBytes);
    const bool on = in.ConsumeBool(), ifNeeded = in.ConsumeBool(), readOnly = in.ConsumeBool();
    const std::string piece = in.ConsumeRemainingBytesAsString();
    std::string bytes;
    while (!piece.empty() && bytes.size() < length) {
        bytes += piece;
    }
    bytes.resize(piece.empty() ? 0 : length);

    FakeRegistry fake;
    fake.Put(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, RawValue{type, bytes});
    if (readOnly) {
        fake.readOnly.insert({kHkeyCurrentUser, Fold(kSettingsKey)});
    }
    CRegistryAccess registry(fake);
    std::string text;
    if (registry.ReadString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, &text, maxBytes) ==
        ReadOutcome::kRead) {
        Require(text.size() < maxBytes && bytes.compare(0, text.size(), text) == 0 &&
                text.find('\0') == std::string::npos);
    }
    std::uint32_t number = 0;
    if (registry.ReadDword(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, &number) ==
        ReadOutcome::kRead) {
        Require(bytes.size() == 4 && std::memcmp(bytes.data(), &number, 4) == 0);
    }

    std::string stripped = bytes;
    Require(StripLocalSuffix(stripped) == (stripped != bytes) &&
            bytes.compare(0, stripped.size(), stripped) == 0);
    for (const std::string& item : ParseServerList(bytes)) {
        Require(item.size() <= kMaxServerLength && item.find_first_of("\r\n") == std::string::npos);
    }

    std::string before;
    const bool readable = ReadExclusions(registry, &before) == ReadOutcome::kRead;
    const LocalSwitch outcome = SwitchLocalAddresses(registry, registry, on, ifNeeded);
    std::string after;
    const bool readBack = ReadExclusions(registry, &after) == ReadOutcome::kRead;
    StripLocalSuffix(before);
    if (outcome == LocalSwitch::kStored) {
        Require(readable && readBack && after.compare(0, before.size(), before) == 0);
    } else {
        Require(
            fake.keys[{kHkeyCurrentUser, Fold(kSettingsKey)}][Fold(kProxyOverrideValue)].bytes ==
            bytes);
    }
    if (StoreProxyServer(registry, piece) == ServerStore::kStored) {
        Require(ReadProxyServer(registry, &text) == ReadOutcome::kRead &&
                text == piece.substr(0, piece.find('\0')));
    }
    Require(fake.OpenHandles() == 0);
    return 0;
}
