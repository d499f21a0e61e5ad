#pragma once
// The main dialog: reads every setting it shows once at start-up, and writes
// each change at the moment of the click.
#include "app/window/dialog.h"
#include "store/registry_access.h"

class FileSeam;
class UrlCacheSeam;

// What the dialog reaches the platform through. A missing optional seam acts
// as an empty one (no server list file, an empty URL cache).
struct SettingsServices {
    CRegistryAccess& registry;
    FileSeam* files = nullptr;
    UrlCacheSeam* urlCache = nullptr;
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
    MessageResult OnDeleteTemporaryFiles(const DialogMessage& m);
    MessageResult OnDeleteCookies(const DialogMessage& m);

    static const MessageMapEntry<CSettingsDlg> kMessageMap[];

    SettingsServices services_;
};
