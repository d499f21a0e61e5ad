#include "change/win32_notifier.h"

#include <windows.h>
#include <wininet.h>

#include "platform/win32_platform.h"

void Win32Notifier::SettingsChanged() {
    const ModuleOwner wininet = LoadSystemLibrary(L"wininet.dll");
    using SetOptionFn = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, DWORD);
    SetOptionFn setOption = nullptr;
    if (wininet.Valid() && Resolve(wininet.Get(), "InternetSetOptionW", &setOption)) {
        setOption(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
        setOption(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0);
    }
}
