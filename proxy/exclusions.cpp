#include "proxy/exclusions.h"

#include <algorithm>

#include "store/registry_paths.h"

namespace {

constexpr std::string_view kLocal = LocalToken + 1;  // without its separator

}  // namespace

bool StripLocalSuffix(std::string& text) {
    const std::size_t length = std::min(text.find('\0'), text.size());
    if (length < kLocal.size() ||
        text.compare(length - kLocal.size(), kLocal.size(), kLocal) != 0) {
        return false;
    }
    text.erase(length > kLocal.size() ? length - kLocal.size() - 1 : 0);
    return true;
}

ReadOutcome ReadExclusions(CRegistryAccess& registry, std::string* list) {
    return registry.ReadString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, list,
                               kMaxExclusionBytes);
}

ListStore StoreExclusions(ValueWriter& out, std::string list, bool local) {
    if (local) {
        list += LocalToken;
    }
    if (list.size() >= kMaxExclusionBytes) {
        return ListStore::kTooLong;
    }
    return out.WriteString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, list)
               ? ListStore::kStored
               : ListStore::kWriteFailed;
}

LocalSwitch SwitchLocalAddresses(CRegistryAccess& registry, ValueWriter& out, bool on,
                                 bool ifNeeded) {
    std::string list;
    // Only a list known to be missing counts as empty: one that exists but
    // cannot be read must not be replaced.
    if (ReadExclusions(registry, &list) == ReadOutcome::kUnreadable) {
        return LocalSwitch::kUnreadable;
    }
    std::string stripped = list;
    const bool hasEntry = StripLocalSuffix(stripped);
    if (ifNeeded && hasEntry == on) {
        return LocalSwitch::kUnchanged;
    }
    return StoreExclusions(out, on ? list : stripped, on) == ListStore::kStored
               ? LocalSwitch::kStored
               : LocalSwitch::kWriteFailed;
}
