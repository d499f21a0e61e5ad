#include "app/settings_dlg.h"

#include "app/about/about_box.h"
#include "app/cache_controls.h"
#include "app/zone_controls.h"
#include "resources/resource.h"

namespace {

using Dlg = CSettingsDlg;

}  // namespace

CSettingsDlg::CSettingsDlg(const SettingsServices& services)
    : Dialog(IDD_SETTINGS), services_(services), proxy_(services.registry, services.files) {}

const MessageMapEntry<CSettingsDlg> CSettingsDlg::kMessageMap[] = {
    OnMessage<Dlg>(kWmSysCommand, &Dlg::OnSysCommand),
    OnMessage<Dlg>(kWmInitDialog, &Dlg::OnInitDialog),
    OnMessage<Dlg>(kWmPaint, &Dlg::OnPaint),
    OnMessage<Dlg>(kWmQueryDragIcon, &Dlg::OnQueryDragIcon),
    OnClicks<Dlg>(IDC_SCRIPT_QUERY, IDC_JAVA_PROHIBIT, &Dlg::OnZoneButton),
    OnClicks<Dlg>(IDC_COOKIE_QUERY, IDC_SESSION_DISALLOW, &Dlg::OnZoneButton),
    OnClicks<Dlg>(IDC_PROXY_ENABLE, IDC_PROXY_ENABLE, &Dlg::OnProxySwitch),
    OnClicks<Dlg>(IDC_PROXY_LOCAL, IDC_PROXY_LOCAL, &Dlg::OnLocalSwitch),
    OnClicks<Dlg>(IDC_SET_OVERRIDE, IDC_SET_OVERRIDE, &Dlg::OnSetExclusions),
    OnClicks<Dlg>(IDC_SET_SERVER, IDC_SET_SERVER, &Dlg::OnSetProxyServer),
    OnClicks<Dlg>(IDC_PRESET_ALL_ON, IDC_PRESET_STANDARD, &Dlg::OnPreset),
    OnClicks<Dlg>(IDC_ABOUT, IDC_ABOUT, &Dlg::OnAbout),
    OnClicks<Dlg>(IDC_DELETE_TEMP_FILES, IDC_DELETE_COOKIES, &Dlg::OnDelete),
    OnMessage<Dlg>(kWmHelp, &Dlg::OnHelp),
};

MessageResult CSettingsDlg::HandleMessage(const DialogMessage& m) {
    return Dispatch(*this, kMessageMap, m);
}

MessageResult CSettingsDlg::OnInitDialog(const DialogMessage& /*m*/) {
    WindowOps& window = Window();
    AddAboutMenuEntry(window);
    window.SetIcons();
    const ZoneReadings zones = ReadZoneControls(services_.registry, window);
    proxy_.ReadAtStartup(window);
    ReflectZoneControls(zones, window);
    proxy_.ShowAtStartup(window);
    return 1;  // let the dialog manager focus the first tab stop
}

MessageResult CSettingsDlg::OnSysCommand(const DialogMessage& m) {
    if (!IsAboutCommand(m.wParam)) {
        return std::nullopt;  // move, size, minimize, close: the default handling
    }
    ShowAboutBox(Window());
    return 0;
}

MessageResult CSettingsDlg::OnAbout(const DialogMessage& /*m*/) {
    ShowAboutBox(Window());
    return 0;
}

MessageResult CSettingsDlg::OnPaint(const DialogMessage& /*m*/) {
    if (Window().PaintIfMinimized()) {
        return 0;
    }
    return std::nullopt;
}

MessageResult CSettingsDlg::OnQueryDragIcon(const DialogMessage& /*m*/) {
    return Window().DragIcon();
}

MessageResult CSettingsDlg::OnHelp(const DialogMessage& /*m*/) {
    Window().OpenHelp();
    return 1;
}

MessageResult CSettingsDlg::OnZoneButton(const DialogMessage& m) {
    StoreZoneButton(services_.registry, Window(), ControlId(m));
    return 0;
}

MessageResult CSettingsDlg::OnProxySwitch(const DialogMessage& /*m*/) {
    proxy_.OnSwitch(Window());
    return 0;
}

MessageResult CSettingsDlg::OnLocalSwitch(const DialogMessage& /*m*/) {
    proxy_.OnLocalAddresses(Window());
    return 0;
}

MessageResult CSettingsDlg::OnSetExclusions(const DialogMessage& /*m*/) {
    proxy_.OnSetExclusions(Window());
    return 0;
}

MessageResult CSettingsDlg::OnSetProxyServer(const DialogMessage& /*m*/) {
    proxy_.OnSetServer(Window());
    return 0;
}

MessageResult CSettingsDlg::OnPreset(const DialogMessage& m) {
    RunPreset(Window(), ControlId(m));
    return 0;
}

MessageResult CSettingsDlg::OnDelete(const DialogMessage& m) {
    DeleteAfterConfirmation(services_.urlCache, Window(), ControlId(m));
    return 0;
}
