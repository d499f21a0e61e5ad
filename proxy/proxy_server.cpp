#include "proxy/proxy_server.h"

#include <algorithm>
#include <cstring>

#include "app/messages.h"
#include "resources/resource.h"
#include "store/registry_paths.h"

const std::array<int, 5> kProxyDependentControls = {
    IDC_PROXY_SERVER, IDC_PROXY_LOCAL, IDC_PROXY_OVERRIDE, IDC_SET_OVERRIDE, IDC_SET_SERVER};

namespace {

// Sized like the read it is copied from, so every readable server fits whole.
char StartupProxyServer[kServerBufferSize] = "";

}  // namespace

void KeepStartupProxyServer(const std::string& server) {
    const std::size_t length = std::min(server.size(), kMaxServerLength);
    std::memcpy(StartupProxyServer, server.data(), length);
    StartupProxyServer[length] = '\0';
}

void SwitchProxy(CRegistryAccess& registry, WindowOps& window) {
    const bool on = window.IsChecked(IDC_PROXY_ENABLE);
    for (const int id : kProxyDependentControls) {
        window.Enable(id, on);
    }
    if (!registry.WriteDword(kHkeyCurrentUser, kSettingsKey, kProxyEnableValue, on ? 1 : 0)) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
        window.SetCheck(IDC_PROXY_ENABLE, !on);
    }
}

void SetProxyServer(CRegistryAccess& registry, WindowOps& window) {
    const std::string text = window.GetText(IDC_PROXY_SERVER);
    // Blanks count as text; only the single-byte colon counts, which is never
    // part of a double-byte character in the ANSI code pages.
    const char* refusal = text.empty()                          ? kMsgPortMissing
                          : text.find(':') == std::string::npos ? kMsgColonMissing
                                                                : nullptr;
    if (refusal != nullptr) {
        window.ShowMessage(refusal, kMbOk);
        window.SetText(IDC_PROXY_SERVER, StartupProxyServer);
        return;
    }
    // A longer text would be stored but never read back; say so, cut nothing.
    if (text.size() > kMaxServerLength ||
        !registry.WriteString(kHkeyCurrentUser, kSettingsKey, kProxyServerValue, text.c_str())) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
    }
}
