#pragma once
// What `status` shows: every setting the dialog shows, and the policies that
// override them, which the dialog cannot show.
#include <string>
#include <vector>

#include "cli/cli.h"
#include "proxy/proxy_settings.h"
#include "zone/zone_options.h"

struct StatusReport {
    std::array<DwordReading, kZoneOptionCount> zone;
    DwordReading proxySwitch;
    ReadOutcome serverOutcome = ReadOutcome::kMissing;
    std::string server;
    ReadOutcome bypassOutcome = ReadOutcome::kMissing;
    std::string bypass;  // without its local-address entry
    bool local = false;
    std::vector<std::string> serverList;
    ZonePolicies zonePolicies;
    bool proxyPerMachine = false;
};

StatusReport ReadStatus(CliServices& services);
// Texts of the registry are turned into UTF-8 through the console.
std::string StatusText(const StatusReport& report, Console& console);
std::string StatusJson(const StatusReport& report, Console& console);
