#pragma once
// The console companion: the dialog's switches for scripts and shortcuts,
// over the same core.
#include <string>
#include <vector>

#include "cache/url_cache_seam.h"
#include "change/notifier.h"
#include "cli/console.h"
#include "network/network_seam.h"
#include "store/charset_seam.h"
#include "store/file_seam.h"
#include "store/registry_access.h"

struct CliServices {
    CRegistryAccess& registry;
    FileSeam& files;
    UserFileSeam& userFiles;
    CharsetSeam& charset;
    UrlCacheSeam& urlCache;
    Console& console;
    SettingsNotifier& notifier;
    NetworkSeam& networks;
};

// Exit codes.
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;     // a read or a write failed
constexpr int kExitUsage = 2;      // unknown command, option or value; nothing written
constexpr int kExitCancelled = 3;  // the user said no, or stopped the run

// Runs one command line (arguments after the program's name, UTF-8).
int RunCli(const std::vector<std::string>& args, CliServices& services);
