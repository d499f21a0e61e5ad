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

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
