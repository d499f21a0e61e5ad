#include "cli/status.h"

#include <cstdio>

#include "cli/cli_texts.h"
#include "profile/profile_store.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"

namespace {

constexpr std::size_t kSwitchRow = kZoneOptionCount;
constexpr std::size_t kServerRow = kSwitchRow + 1;
constexpr std::size_t kOverrideRow = kServerRow + 1;

std::vector<std::string> MatchingProfiles(CliServices& services,
                                          const std::array<SettingReading, kSettingCount>& now) {
    const std::string folder = AppFolder(services.userFiles);
    std::vector<std::string> names;
    std::vector<std::string> matching;
    if (folder.empty() || !ListProfiles(services.userFiles, folder, services.charset, &names)) {
        return matching;
    }
    for (const std::string& name : names) {
        const LoadedProfile loaded =
            LoadProfile(services.userFiles, services.charset, ProfilePath(folder, name));
        if (loaded.outcome == ProfileLoad::kLoaded && ProfileMatches(loaded.reading.profile, now)) {
            matching.push_back(name);
        }
    }
    return matching;
}

// What a stored zone value means: the word of the JSON and the words shown.
struct Meaning {
    const char* word;
    const char* label;
};

Meaning MeaningOf(std::size_t option, const SettingReading& reading) {
    if (reading.outcome != ReadOutcome::kRead) {
        return reading.outcome == ReadOutcome::kMissing ? Meaning{"missing", kTextMissing}
                                                        : Meaning{"unreadable", kTextUnreadable};
    }
    const ZoneChoice* choice = FindZoneChoice(option, reading.value.number);
    if (choice == nullptr) {
        return {"custom", kTextCustom};
    }
    return {ZoneSettingWord(choice->setting), kTextSettings[static_cast<int>(choice->setting)]};
}

const char* OutcomeLabel(ReadOutcome outcome) {
    return outcome == ReadOutcome::kMissing ? kTextMissing : kTextUnreadable;
}

std::string Line(const char* label, const std::string& value) {
    return std::string(label) + ": " + value + "\n";
}

std::string Utf8(std::string_view ansi, CharsetSeam& charset) {
    std::string utf8;
    charset.FromAnsi(ansi, &utf8);
    return utf8;
}

// Adds an item to a list separated by commas.
void AddItem(std::string& list, const std::string& item) {
    list += (list.empty() ? "" : ", ") + item;
}

std::string ZoneJson(std::size_t option, const SettingReading& reading) {
    return "{\"value\": " +
           (reading.outcome == ReadOutcome::kRead ? std::to_string(reading.value.number) : "null") +
           ", \"setting\": " + Json(MeaningOf(option, reading).word) + "}";
}

std::string JsonText(const SettingReading& reading, CharsetSeam& charset) {
    return reading.outcome == ReadOutcome::kRead ? Json(Utf8(reading.value.text, charset)) : "null";
}

const char* JsonBool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

StatusReport ReadStatus(CliServices& services) {
    StatusReport report;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        report.settings[row] = ReadSetting(services.registry, row);
    }
    report.bypass = report.settings[kOverrideRow].value.text;
    report.local = StripLocalSuffix(report.bypass);
    report.serverList = ReadServerList(services.files);
    report.zonePolicies = ReadZonePolicies(services.registry);
    report.proxyPerMachine = ProxyIsPerMachine(services.registry);
    report.matchingProfiles = MatchingProfiles(services, report.settings);
    return report;
}

const char* SettingLabel(std::size_t row) {
    switch (SettingTable[row].kind) {
        case SettingKind::kZone:
            return kTextZoneLabels[SettingTable[row].option];
        case SettingKind::kSwitch:
            return kTextProxy;
        case SettingKind::kText:
            break;
    }
    return row == kServerRow ? kTextServer : kTextBypass;
}

std::string ShownSetting(std::size_t row, const SettingReading& reading, CharsetSeam& charset) {
    const bool read = reading.outcome == ReadOutcome::kRead;
    switch (SettingTable[row].kind) {
        case SettingKind::kZone:
            return std::string(MeaningOf(SettingTable[row].option, reading).label) +
                   (read ? " (" + ShownNumber(reading.value.number) + ")" : "");
        case SettingKind::kSwitch:
            if (ProxyIsOn({reading.outcome, reading.value.number})) {
                return kTextOn;
            }
            return std::string(kTextOff) + " (" +
                   (read ? ShownNumber(reading.value.number) : OutcomeLabel(reading.outcome)) + ")";
        case SettingKind::kText:
            break;
    }
    return read ? Utf8(reading.value.text, charset) : OutcomeLabel(reading.outcome);
}

std::string SettingJson(std::size_t row, const SettingValue& value, CharsetSeam& charset) {
    const SettingReading reading{ReadOutcome::kRead, value};
    switch (SettingTable[row].kind) {
        case SettingKind::kZone:
            return ZoneJson(SettingTable[row].option, reading);
        case SettingKind::kSwitch:
            return value.number > 1 ? std::to_string(value.number)
                                    : Json(value.number == 1 ? "on" : "off");
        case SettingKind::kText:
            break;
    }
    return JsonText(reading, charset);
}

std::string ShownNumber(std::uint32_t value) {
    char text[16];
    (void)std::snprintf(text, sizeof text, value > 0xFFFF ? "0x%X" : "%u", value);
    return text;
}

std::string Json(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            (void)std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string StatusText(const StatusReport& report, CharsetSeam& charset) {
    std::string out;
    for (std::size_t row = 0; row < kOverrideRow; ++row) {
        out += Line(SettingLabel(row), ShownSetting(row, report.settings[row], charset));
    }
    const SettingReading& list = report.settings[kOverrideRow];
    out += Line(kTextBypass, list.outcome == ReadOutcome::kRead ? Utf8(report.bypass, charset)
                                                                : OutcomeLabel(list.outcome));
    out += Line(kTextLocal, report.local ? kTextYes : kTextNo);
    std::string items;
    for (const std::string& item : report.serverList) {
        AddItem(items, Utf8(item, charset));
    }
    out += Line(kTextServerList, report.serverList.empty() ? kTextNone : items);
    std::string profiles;
    for (const std::string& name : report.matchingProfiles) {
        AddItem(profiles, name);
    }
    out += Line(kTextProfiles, profiles.empty() ? kTextNone : profiles);

    std::string policies;
    if (report.zonePolicies.fromMachine) {
        policies += Line(kTextPolicy, kTextZonesFromMachine);
    }
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        if (const auto& value = report.zonePolicies.options[option]) {
            policies += Line(kTextPolicy, std::string(kTextZoneLabels[option]) + kTextZoneByPolicy +
                                              ShownNumber(*value));
        }
    }
    if (report.proxyPerMachine) {
        policies += Line(kTextPolicy, kTextProxyPerMachine);
    }
    return out + (policies.empty() ? Line(kTextPolicy, kTextNone) : policies);
}

std::string StatusJson(const StatusReport& report, CharsetSeam& charset) {
    std::string zone;
    std::string policyOptions;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        const std::string name = Json(ZoneOptionTable[option].word);
        AddItem(zone, name + ": " + ZoneJson(option, report.settings[option]));
        if (const auto& value = report.zonePolicies.options[option]) {
            AddItem(policyOptions, name + ": " + std::to_string(*value));
        }
    }
    std::string items;
    for (const std::string& item : report.serverList) {
        AddItem(items, Json(Utf8(item, charset)));
    }
    std::string profiles;
    for (const std::string& name : report.matchingProfiles) {
        AddItem(profiles, Json(name));
    }
    const SettingReading& proxy = report.settings[kSwitchRow];
    SettingReading bypass = report.settings[kOverrideRow];
    bypass.value.text = report.bypass;
    return "{\"zone\": {" + zone + "}, \"proxy\": {\"enabled\": " +
           JsonBool(ProxyIsOn({proxy.outcome, proxy.value.number})) +
           ", \"server\": " + JsonText(report.settings[kServerRow], charset) +
           ", \"bypass\": " + JsonText(bypass, charset) + ", \"local\": " + JsonBool(report.local) +
           ", \"serverList\": [" + items +
           "]}, \"policy\": {\"zonesFromMachine\": " + JsonBool(report.zonePolicies.fromMachine) +
           ", \"zoneOptions\": {" + policyOptions +
           "}, \"proxyPerMachine\": " + JsonBool(report.proxyPerMachine) +
           "}, \"matchingProfiles\": [" + profiles + "]}\n";
}
