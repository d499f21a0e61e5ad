// vormet-cli.exe: the console companion of Vormet.exe.
#include <windows.h>

#include <string>
#include <vector>

#include "change/win32_notifier.h"
#include "cli/cli.h"
#include "cli/win32_console.h"
#include "network/network_seam.h"
#include "store/charset_seam.h"
#include "platform/win32_platform.h"
#include "platform/win32_encoding.h"

int wmain(int argc, wchar_t** argv) {
    RestrictLibrarySearch();  // before anything else can load a library
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(Narrow(argv[i]));
    }
    Win32Console console;
    Win32Notifier notifier;
    CliServices services{TheRegistry(), TheFiles(), TheUserFiles(), TheCharset(),
                         TheUrlCache(), console,    notifier,       TheNetworks()};
    return RunCli(args, services);
}
