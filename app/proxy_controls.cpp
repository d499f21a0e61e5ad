#include "app/proxy_controls.h"

#include <array>

#include "proxy/exclusions.h"
#include "proxy/server_list.h"
#include "resources/resource.h"
#include "texts/messages.h"

namespace {

// The controls that follow the switch, always handled in this order.
constexpr std::array<int, 5> kDependentControls = {
    IDC_PROXY_SERVER, IDC_PROXY_LOCAL, IDC_PROXY_OVERRIDE, IDC_SET_OVERRIDE, IDC_SET_SERVER};

void EnableDependents(WindowOps& window, bool enabled) {
    for (const int id : kDependentControls) {
        window.Enable(id, enabled);
    }
}

}  // namespace

void ProxyControls::ReadAtStartup(WindowOps& window) {
    switch_ = ReadProxySwitch(registry_);
    if (switch_.outcome != ReadOutcome::kRead) {
        window.ShowMessage(kMsgReadFailed, kMbOk);
    }
    if (ReadProxyServer(registry_, &startupServer_) == ReadOutcome::kRead) {
        window.SetText(IDC_PROXY_SERVER, startupServer_);
    }
    ReadExclusions(registry_, &startupExclusions_);
}

void ProxyControls::ShowAtStartup(WindowOps& window) {
    // What can be typed is what a read gets back whole.
    window.LimitText(IDC_PROXY_SERVER, kMaxServerLength);
    window.LimitText(IDC_PROXY_OVERRIDE, kMaxExclusionEditLength);

    if (StripLocalSuffix(startupExclusions_)) {
        window.SetCheck(IDC_PROXY_LOCAL, true);
    }
    window.AddComboItem(IDC_PROXY_SERVER, startupServer_);
    for (const std::string& item : ReadServerList(files_)) {
        window.AddComboItem(IDC_PROXY_SERVER, item);
    }
    window.SetText(IDC_PROXY_OVERRIDE, startupExclusions_);

    if (ProxyIsOn(switch_)) {
        window.PostClick(IDC_PROXY_ENABLE);
    } else {
        EnableDependents(window, false);
    }
}

void ProxyControls::OnSwitch(WindowOps& window) {
    const bool on = window.IsChecked(IDC_PROXY_ENABLE);
    EnableDependents(window, on);
    if (!WriteProxySwitch(registry_, on)) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
        window.SetCheck(IDC_PROXY_ENABLE, !on);
    }
}

void ProxyControls::OnSetServer(WindowOps& window) {
    const char* message = nullptr;
    switch (StoreProxyServer(registry_, window.GetText(IDC_PROXY_SERVER))) {
        case ServerStore::kStored:
            return;
        case ServerStore::kBlank:
            message = kMsgPortMissing;
            break;
        case ServerStore::kNoColon:
            message = kMsgColonMissing;
            break;
        case ServerStore::kTooLong:
        case ServerStore::kWriteFailed:
            // Only a text set from outside the keyboard can be too long.
            window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
            return;
    }
    window.ShowMessage(message, kMbOk);
    window.SetText(IDC_PROXY_SERVER, startupServer_);
}

void ProxyControls::OnSetExclusions(WindowOps& window) {
    if (StoreExclusions(registry_, window.GetText(IDC_PROXY_OVERRIDE),
                        window.IsChecked(IDC_PROXY_LOCAL)) != ListStore::kStored) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
    }
}

void ProxyControls::OnLocalAddresses(WindowOps& window) {
    const bool on = window.IsChecked(IDC_PROXY_LOCAL);
    if (SwitchLocalAddresses(registry_, registry_, on, false) != LocalSwitch::kStored) {
        window.ShowMessage(kMsgProxyWriteFailed, kMbOk);
        window.SetCheck(IDC_PROXY_LOCAL, !on);
    }
}
