/* Loads a library by its bare name with the loader's default search, as a
   program without any protection would: naive_loader <name>. The planting
   test runs it first, to show that a planted library would be picked up in
   its setting, so that a pass of the program under test means something. */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return 2;
    }
    return LoadLibraryW(argv[1]) != NULL ? 0 : 1;
}
