#include "app/settings_app.h"

#include <windows.h>

#include <commctrl.h>

#include "app/settings_dlg.h"
#include "app/window/win32_dialog.h"
#include "cache/win32_url_cache.h"
#include "proxy/file_seam.h"

CSettingsApp theApp;

bool CSettingsApp::InitInstance() {
    SettingsServices services{TheRegistry()};
    services.urlCache = &TheUrlCache();
    services.files = &TheFiles();
    CSettingsDlg dialog(services);
    RunModalDialog(dialog, nullptr);
    return false;
}

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    // Loads version 6 of the common controls, which the manifest asks for, so
    // the dialogs' buttons and boxes take the system's visual style.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    theApp.InitInstance();
    return 0;
}
