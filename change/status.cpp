#include "change/status.h"

#include "profile/profile_store.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"

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
