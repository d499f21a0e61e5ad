#include "app/settings_app.h"

#include <windows.h>

#include <commctrl.h>

#include "app/settings_dlg.h"
#include "app/window/win32_dialog.h"
#include "store/win32_handles.h"

CSettingsApp theApp;

namespace {

// Every later library look-up goes to the system directory only. Such tools
// are often started from a downloads folder, where anyone may have left a DLL
// with a system name; neither that folder nor the current directory is
// searched. Windows 7 without its loader update lacks the call; there at least
// the current directory is taken out.
void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    SetDefaultDllDirectoriesFn setDefault = nullptr;
    if (Resolve(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories", &setDefault)) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

// Version 6 of the common controls, which the manifest asks for, so the
// dialogs' buttons and boxes take the system's visual style. Loaded here, not
// imported, so that it and whatever it loads in turn come after the search is
// restricted; the manifest still binds the name to version 6. Without it the
// dialogs work as they are, unthemed. It stays loaded: the classes it
// registers serve the whole run.
void LoadCommonControls() {
    const HMODULE controls = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
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
