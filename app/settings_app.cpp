#include "app/settings_app.h"

#include <windows.h>

#include <commctrl.h>

#include "app/settings_dlg.h"
#include "app/window/win32_dialog.h"
#include "platform/win32_platform.h"

CSettingsApp theApp;

namespace {

// Version 6 of the common controls, which the manifest asks for, so the
// dialogs' buttons and boxes take the system's visual style. Loaded here, not
// imported, so that it and whatever it loads in turn come after the search is
// restricted; the manifest still binds the name to version 6. Without it the
// dialogs work as they are, unthemed. It stays loaded: the classes it
// registers serve the whole run.
void LoadCommonControls() {
    const HMODULE controls = LoadSystemLibrary(L"comctl32.dll").Release();
    if (controls == nullptr) {
        return;
    }
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    InitCommonControlsExFn init = nullptr;
    if (Resolve(controls, "InitCommonControlsEx", &init)) {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
        init(&classes);
    }
}

}  // namespace

bool CSettingsApp::InitInstance() {
    CSettingsDlg dialog(SettingsServices{TheRegistry(), TheFiles(), TheUrlCache()});
    RunModalDialog(dialog, nullptr);
    return false;
}

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    RestrictLibrarySearch();  // before anything else can load a library
    LoadCommonControls();
    theApp.InitInstance();
    return 0;
}
