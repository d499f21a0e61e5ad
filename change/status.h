#pragma once
// What is in effect: every setting the dialog shows, the policies that
// override them (which the dialog cannot show), and the profiles that match.
#include <string>
#include <vector>

#include "profile/settings.h"
#include "store/charset_seam.h"
#include "store/file_seam.h"
#include "zone/zone_options.h"

struct StatusReport {
    SettingReadings settings;
    std::string bypass;  // the exclusion list without its local-address entry
    bool local = false;
    std::vector<std::string> serverList;
    ZonePolicies zonePolicies;
    bool proxyPerMachine = false;
    std::vector<std::string> matchingProfiles;
};

StatusReport ReadStatus(CRegistryAccess& registry, FileSeam& files, UserFileSeam& userFiles,
                        CharsetSeam& charset);
