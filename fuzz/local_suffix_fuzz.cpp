// Any bytes as a stored exclusion list: the suffix rule must match its plain
// statement, and a list must survive the reads and writes of the local-address
// switch whole: read, strip or add the entry, store, read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "proxy/exclusions.h"
#include "store/registry_access.h"
#include "store/registry_paths.h"
#include "tests/support/fake_registry.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

void CheckStrip(const std::string& input) {
    const std::string text = input.substr(0, input.find('\0'));
    const std::string local = "<local>";
    const bool ends = text.size() >= local.size() &&
                      text.compare(text.size() - local.size(), local.size(), local) == 0;
    std::string stripped = input;
    Check(StripLocalSuffix(stripped) == ends);
    if (ends) {
        Check(stripped == text.substr(0, text.size() > local.size() ? text.size() - 8 : 0));
    } else {
        Check(stripped == input);
    }
}

// The first byte picks the read's cap, so small inputs reach its edges too.
void CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    const std::uint32_t cap = 1 + data[0] * 17u;
    ++data;
    --size;
    FakeRegistry fake;
    CRegistryAccess registry{fake};
    fake.SetRaw(kSettingsKey, kProxyOverrideValue, kRegSz,
                std::vector<std::uint8_t>(data, data + size));
    std::string text;
    const ReadOutcome outcome =
        registry.ReadWholeString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, &text, cap);
    const std::string stored(data, data + size);
    const std::string expected = stored.substr(0, stored.find('\0'));
    // The cap holds the value's bytes, and the text with its zero byte.
    const bool fits = size <= cap && expected.size() < cap;
    Check(outcome == (fits ? ReadOutcome::kRead : ReadOutcome::kUnreadable));
    if (outcome != ReadOutcome::kRead) {
        return;
    }
    Check(text == expected);
    const std::string added = text + LocalToken;
    if (added.size() >= cap) {
        return;  // the switch refuses to store what it could not read back
    }
    Check(registry.WriteString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue,
                               added.c_str()) != 0);
    std::string back;
    Check(registry.ReadWholeString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, &back,
                                   cap) == ReadOutcome::kRead);
    Check(back == added);
    Check(StripLocalSuffix(back) && back == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckStrip(std::string(data, data + size));
    CheckRoundTrip(data, size);
    return 0;
}
