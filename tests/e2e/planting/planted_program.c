/* A harmless stand-in for a program someone could plant under a system name
   beside the executable or in its current directory: run, it only leaves a
   marker file next to itself (<its own path>.ran) and ends. */
#include <windows.h>

int main(void) {
    static const wchar_t kSuffix[] = L".ran";
    wchar_t path[MAX_PATH + sizeof kSuffix / sizeof kSuffix[0]];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        lstrcpyW(path + length, kSuffix);
        const HANDLE marker =
            CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (marker != INVALID_HANDLE_VALUE) {
            CloseHandle(marker);
        }
    }
    return 0;
}
