#include "change/status.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/replies.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"
#include "store/text_format.h"
#include "texts/setting_words.h"

namespace {

std::string StatusText(const StatusReport& report, CharsetSeam& charset) {
    std::string out;
    for (std::size_t row = 0; row < kOverrideRow; ++row) {
        out += Line(SettingLabel(row), ShownSetting(row, report.settings[row], charset));
    }
    const SettingReading& list = report.settings[kOverrideRow];
    out += Line(SettingLabel(kOverrideRow), list.outcome == ReadOutcome::kRead
                                                ? Utf8(report.bypass, charset)
                                                : OutcomeLabel(list.outcome));
    out += Line(kTextLocal, report.local ? kTextYes : kTextNo);
    std::vector<std::string> items;
    for (const std::string& item : report.serverList) {
        items.push_back(Utf8(item, charset));
    }
    out += Line(kServerListFileName, items.empty() ? kTextNone : Joined(items));
    out += Line(kTextProfiles,
                report.matchingProfiles.empty() ? kTextNone : Joined(report.matchingProfiles));
    std::string policies;
    if (report.zonePolicies.fromMachine) {
        policies += Line(kTextPolicy, kTextZonesFromMachine);
    }
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        if (const auto& value = report.zonePolicies.options[option]) {
            policies +=
                Line(kTextPolicy,
                     Concat({SettingLabel(option), kTextZoneByPolicy, ShownNumber(*value)}));
        }
    }
    if (report.proxyPerMachine) {
        policies += Line(kTextPolicy, kTextProxyPerMachine);
    }
    out += policies.empty() ? Line(kTextPolicy, kTextNone) : policies;
    return out;
}

std::string StatusJson(const StatusReport& report, CharsetSeam& charset) {
    std::vector<std::string> zone;
    std::vector<std::string> policyOptions;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        const std::string name = Json(ZoneOptionTable[option].word);
        zone.push_back(Concat({name, ": ", ZoneJson(option, report.settings[option])}));
        if (const auto& value = report.zonePolicies.options[option]) {
            policyOptions.push_back(Concat({name, ": ", Decimal(*value)}));
        }
    }
    std::vector<std::string> items;
    for (const std::string& item : report.serverList) {
        items.push_back(Json(Utf8(item, charset)));
    }
    std::vector<std::string> profiles;
    for (const std::string& name : report.matchingProfiles) {
        profiles.push_back(Json(name));
    }
    const SettingReading& proxy = report.settings[kProxyRow];
    SettingReading bypass = report.settings[kOverrideRow];
    bypass.value.text = report.bypass;
    return Concat({"{\"zone\": {",
                   Joined(zone),
                   "}, \"proxy\": {\"enabled\": ",
                   JsonBool(ProxyIsOn({proxy.outcome, proxy.value.number})),
                   ", \"server\": ",
                   JsonText(report.settings[kServerRow], charset),
                   ", \"bypass\": ",
                   JsonText(bypass, charset),
                   ", \"local\": ",
                   JsonBool(report.local),
                   ", \"serverList\": [",
                   Joined(items),
                   "]}, \"policy\": {\"zonesFromMachine\": ",
                   JsonBool(report.zonePolicies.fromMachine),
                   ", \"zoneOptions\": {",
                   Joined(policyOptions),
                   "}, \"proxyPerMachine\": ",
                   JsonBool(report.proxyPerMachine),
                   "}, \"matchingProfiles\": [",
                   Joined(profiles),
                   "]}\n"});
}

}  // namespace

int RunHelp(CliServices& s, const Command& /*c*/) {
    s.console.Out(kTextHelp);
    return kExitDone;
}

int RunVersion(CliServices& s, const Command& /*c*/) {
    s.console.Out(kTextVersion);
    return kExitDone;
}

int RunStatus(CliServices& s, const Command& c) {
    const StatusReport report = ReadStatus(s.registry, s.files, s.userFiles, s.charset);
    s.console.Out(c.Has(kOptionJson) ? StatusJson(report, s.charset)
                                     : StatusText(report, s.charset));
    return kExitDone;
}
