#pragma once
// The command line, read into one command.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "zone/presets.h"
#include "zone/zone_options.h"

struct CliServices;

// The options, as bits; each verb takes some of them.
enum Option : unsigned {
    kOptionJson = 1,      // --json
    kOptionYes = 2,       // --yes
    kOptionNoNotify = 4,  // --no-notify
    kOptionDryRun = 8,    // --dry-run
    kOptionForce = 16,    // --force
    kOptionHere = 32,     // --here
    kOptionNone = 64,     // --none
};

struct Command {
    int (*run)(CliServices& s, const Command& c) = nullptr;
    unsigned options = 0;
    std::size_t option = 0;  // zone: the row of the option table
    ZoneSetting setting = ZoneSetting::kPrompt;
    Preset preset = Preset::kAllOn;
    bool on = false;                  // proxy on|off, proxy local on|off
    std::string text;                 // proxy server and bypass, a profile's name: as given (UTF-8)
    std::optional<std::string> list;  // a profile's networks, when given
    bool cookies = false;             // cache clean cookies

    bool Has(Option wanted) const { return (options & wanted) != 0; }
};

// The command, or nothing with *error saying what is wrong.
std::optional<Command> ParseCommandLine(const std::vector<std::string>& args, std::string* error);
