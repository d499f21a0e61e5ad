#pragma once
// The command line, read into one command.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "zone/presets.h"
#include "zone/zone_options.h"

enum class Verb {
    kHelp,
    kVersion,
    kStatus,
    kZone,
    kPreset,
    kProxySwitch,
    kProxyServer,
    kProxyBypass,
    kProxyLocal,
    kCacheClean,
};

struct Command {
    Verb verb = Verb::kHelp;
    bool json = false;       // status --json
    bool yes = false;        // cache clean --yes
    bool notify = true;      // not --no-notify
    std::size_t option = 0;  // zone: the row of the option table
    ZoneSetting setting = ZoneSetting::kPrompt;
    Preset preset = Preset::kAllOn;
    bool on = false;       // proxy on|off, proxy local on|off
    std::string text;      // proxy server, proxy bypass: as given (UTF-8)
    bool cookies = false;  // cache clean cookies
};

// The option names of the command line, in the order of the option table.
extern const char* const kZoneOptionNames[kZoneOptionCount];
// The value words, by setting.
const char* SettingName(ZoneSetting setting);

// The command, or nothing with *error saying what is wrong.
std::optional<Command> ParseCommandLine(const std::vector<std::string>& args, std::string* error);
