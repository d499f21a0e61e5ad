#include "app/settings_app.h"

#include <windows.h>

#include "app/settings_dlg.h"
#include "app/window/win32_dialog.h"

CSettingsApp theApp;

bool CSettingsApp::InitInstance() {
    CSettingsDlg dialog(SettingsServices{TheRegistry()});
    RunModalDialog(dialog, nullptr);
    return false;
}

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    theApp.InitInstance();
    return 0;
}
