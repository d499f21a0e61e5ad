#include "platform/win32_platform.h"

void RestrictLibrarySearch() {
    // Windows 7 without its loader update lacks the call; there at least the
    // current directory is taken out.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    SetDefaultDllDirectoriesFn setDefault = nullptr;
    if (Resolve(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories", &setDefault)) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
}

ModuleOwner LoadSystemLibrary(const wchar_t* name) {
    return ModuleOwner(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}
