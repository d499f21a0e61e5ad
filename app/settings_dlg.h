#pragma once
// The main dialog: reads every setting it shows once at start-up, and writes
// each change at the moment of the click.
#include "app/proxy_controls.h"
#include "app/window/dialog.h"
#include "cache/url_cache_seam.h"
#include "store/file_seam.h"
#include "store/registry_access.h"

// What the dialog reaches the platform through.
struct SettingsServices {
    CRegistryAccess& registry;
    FileSeam& files;
    UrlCacheSeam& urlCache;
};

class CSettingsDlg final : public Dialog {
  public:
    explicit CSettingsDlg(const SettingsServices& services);

    MessageResult HandleMessage(const DialogMessage& m) override;

  private:
    MessageResult OnSysCommand(const DialogMessage& m);
    MessageResult OnInitDialog(const DialogMessage& m);
    MessageResult OnPaint(const DialogMessage& m);
    MessageResult OnQueryDragIcon(const DialogMessage& m);
    MessageResult OnAbout(const DialogMessage& m);
    MessageResult OnHelp(const DialogMessage& m);
    MessageResult OnZoneButton(const DialogMessage& m);
    MessageResult OnProxySwitch(const DialogMessage& m);
    MessageResult OnLocalSwitch(const DialogMessage& m);
    MessageResult OnSetExclusions(const DialogMessage& m);
    MessageResult OnSetProxyServer(const DialogMessage& m);
    MessageResult OnPreset(const DialogMessage& m);
    MessageResult OnDelete(const DialogMessage& m);

    static const MessageMapEntry<CSettingsDlg> kMessageMap[];

    SettingsServices services_;
    ProxyControls proxy_;
};
