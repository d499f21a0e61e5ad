#pragma once
// What `status` shows: every setting the dialog shows, the policies that
// override them (which the dialog cannot show), and the profiles that match;
// and the words it shows a setting in, which the profile commands share.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "profile/settings.h"
#include "zone/zone_options.h"

struct StatusReport {
    std::array<SettingReading, kSettingCount> settings;
    std::string bypass;  // the exclusion list without its local-address entry
    bool local = false;
    std::vector<std::string> serverList;
    ZonePolicies zonePolicies;
    bool proxyPerMachine = false;
    std::vector<std::string> matchingProfiles;
};

StatusReport ReadStatus(CliServices& services);
std::string StatusText(const StatusReport& report, CharsetSeam& charset);
std::string StatusJson(const StatusReport& report, CharsetSeam& charset);

// A setting's label, and its value as status shows it; texts of the registry
// are turned into UTF-8.
const char* SettingLabel(std::size_t row);
std::string ShownSetting(std::size_t row, const SettingReading& reading, CharsetSeam& charset);
// A setting's value in JSON: a zone value as status gives it, the switch as
// "on", "off" or its number, a text as a string.
std::string SettingJson(std::size_t row, const SettingValue& value, CharsetSeam& charset);
// A number as status shows it: hexadecimal when large, as Java's values are.
std::string ShownNumber(std::uint32_t value);
// A JSON string of a UTF-8 text.
std::string Json(std::string_view utf8);
