#include "proxy/exclusions.h"

#include "app/messages.h"
#include "resources/resource.h"
#include "store/registry_paths.h"

namespace {

constexpr char kLocal[] = "<local>";
constexpr std::size_t kLocalLength = sizeof kLocal - 1;

// Refuses what could not be read back whole; nothing is ever cut.
bool StoreExclusions(CRegistryAccess& registry, const std::string& text) {
    return text.size() < kMaxExclusionBytes &&
           registry.WriteString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue,
                                text.c_str()) != 0;
}

}  // namespace

bool StripLocalSuffix(std::string& text) {
    const std::size_t length = text.find('\0') == std::string::npos ? text.size() : text.find('\0');
    if (length < kLocalLength || text.compare(length - kLocalLength, kLocalLength, kLocal) != 0) {
        return false;
    }
    text.erase(length > kLocalLength ? length - kLocalLength - 1 : 0);
    return true;
}

ReadOutcome ReadExclusions(CRegistryAccess& registry, std::string* text) {
    return registry.ReadWholeString(kHkeyCurrentUser, kSettingsKey, kProxyOverrideValue, text,
                                    kMaxExclusionBytes);
}

void SetExclusions(CRegistryAccess& registry, WindowOps& window) {
    std::string text = window.GetText(IDC_PROXY_OVERRIDE);
    if (window.IsChecked(IDC_PROXY_LOCAL)) {
        text += LocalToken;
    }
    if (!StoreExclusions(registry, text)) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
    }
}

void SwitchLocalAddresses(CRegistryAccess& registry, WindowOps& window) {
    const bool checked = window.IsChecked(IDC_PROXY_LOCAL);
    std::string text;
    bool stored = false;
    // Only a list known to be missing counts as empty: one that exists but
    // cannot be read must not be replaced by the entry alone.
    if (ReadExclusions(registry, &text) != ReadOutcome::kUnreadable) {
        if (checked) {
            text += LocalToken;
        } else {
            StripLocalSuffix(text);
        }
        stored = StoreExclusions(registry, text);
    }
    if (!stored) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
        window.SetCheck(IDC_PROXY_LOCAL, !checked);
    }
}
