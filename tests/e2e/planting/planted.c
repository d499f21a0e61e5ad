/* A harmless stand-in for a library or a program that someone could leave
   under a system name: loaded or run, it only leaves a marker beside itself
   (<its own path>.ran). Run as "planted load <library>", it loads that
   library by its bare name instead, as a program without protection would. */
#include <windows.h>

static void Mark(HMODULE self) {
    wchar_t path[MAX_PATH + 5];
    lstrcpyW(path + GetModuleFileNameW(self, path, MAX_PATH), L".ran");
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        Mark(self);
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && lstrcmpW(argv[1], L"load") == 0) {
        return LoadLibraryW(argv[2]) != NULL ? 0 : 1;
    }
    Mark(NULL);
    return 0;
}
