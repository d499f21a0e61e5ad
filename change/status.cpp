#include "change/status.h"

#include "profile/profile_store.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"

std::vector<std::string> MatchingProfiles(UserFileSeam& files, CharsetSeam& charset,
                                          const SettingReadings& now) {
    const std::string folder = AppFolder(files);
    std::vector<std::string> names;
    std::vector<std::string> matching;
    if (folder.empty() || !ListProfiles(files, folder, charset, &names)) {
        return matching;
    }
    for (const std::string& name : names) {
        const LoadedProfile loaded = LoadProfile(files, charset, ProfilePath(folder, name));
        if (loaded.outcome == ProfileLoad::kLoaded && ProfileMatches(loaded.reading.profile, now)) {
            matching.push_back(name);
        }
    }
    return matching;
}

StatusReport ReadStatus(CRegistryAccess& registry, FileSeam& files, UserFileSeam& userFiles,
                        CharsetSeam& charset) {
    StatusReport report;
    report.settings = ReadSettings(registry);
    report.bypass = report.settings[kOverrideRow].value.text;
    report.local = StripLocalSuffix(report.bypass);
    report.serverList = ReadServerList(files);
    report.zonePolicies = ReadZonePolicies(registry);
    report.proxyPerMachine = ProxyIsPerMachine(registry);
    report.matchingProfiles = MatchingProfiles(userFiles, charset, report.settings);
    return report;
}
