/* A harmless stand-in for a library someone could plant under a system name
   beside the executable or in its current directory. It exports nothing;
   loaded into any process, it only leaves a marker file next to itself
   (<its own path>.loaded), which tells the test that it was loaded. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        static const wchar_t kSuffix[] = L".loaded";
        wchar_t path[MAX_PATH + sizeof kSuffix / sizeof kSuffix[0]];
        const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcpyW(path + length, kSuffix);
            const HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, NULL);
            if (marker != INVALID_HANDLE_VALUE) {
                CloseHandle(marker);
            }
        }
    }
    return TRUE;
}
