#include "cli/status.h"

#include <cstdio>

#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "proxy/exclusions.h"
#include "proxy/server_list.h"

StatusReport ReadStatus(CliServices& services) {
    CRegistryAccess& registry = services.registry;
    StatusReport report;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        report.zone[option] = ReadZoneOption(registry, option);
    }
    report.proxySwitch = ReadProxySwitch(registry);
    report.serverOutcome = ReadProxyServer(registry, &report.server);
    report.bypassOutcome = ReadExclusions(registry, &report.bypass);
    report.local = StripLocalSuffix(report.bypass);
    report.serverList = ReadServerList(services.files);
    report.zonePolicies = ReadZonePolicies(registry);
    report.proxyPerMachine = ProxyIsPerMachine(registry);
    return report;
}

namespace {

// What a stored zone value means: the word of the JSON and the words shown.
struct Meaning {
    const char* word;
    const char* label;
};

Meaning MeaningOf(std::size_t option, const DwordReading& reading) {
    if (reading.outcome != ReadOutcome::kRead) {
        return reading.outcome == ReadOutcome::kMissing ? Meaning{"missing", kTextMissing}
                                                        : Meaning{"unreadable", kTextUnreadable};
    }
    const ZoneChoice* choice = FindZoneChoice(option, reading.value);
    if (choice == nullptr) {
        return {"custom", kTextCustom};
    }
    return {SettingName(choice->setting), kTextSettings[static_cast<int>(choice->setting)]};
}

// Java's values read best in hexadecimal, the small policies in decimal.
std::string Number(std::uint32_t value) {
    char text[16];
    (void)std::snprintf(text, sizeof text, value > 0xFFFF ? "0x%X" : "%u", value);
    return text;
}

const char* OutcomeLabel(ReadOutcome outcome) {
    return outcome == ReadOutcome::kMissing ? kTextMissing : kTextUnreadable;
}

std::string Line(const char* label, const std::string& value) {
    return std::string(label) + ": " + value + "\n";
}

// A registry text as shown, or why there is none.
std::string Shown(ReadOutcome outcome, const std::string& ansi, Console& console) {
    return outcome == ReadOutcome::kRead ? console.FromAnsi(ansi) : OutcomeLabel(outcome);
}

// Adds an item to a list separated by commas.
void AddItem(std::string& list, const std::string& item) {
    list += (list.empty() ? "" : ", ") + item;
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

std::string JsonText(ReadOutcome outcome, const std::string& ansi, Console& console) {
    return outcome == ReadOutcome::kRead ? Json(console.FromAnsi(ansi)) : "null";
}

const char* JsonBool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string StatusText(const StatusReport& report, Console& console) {
    std::string out;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        const DwordReading& reading = report.zone[option];
        const Meaning meaning = MeaningOf(option, reading);
        out += Line(
            kTextZoneLabels[option],
            std::string(meaning.label) +
                (reading.outcome == ReadOutcome::kRead ? " (" + Number(reading.value) + ")" : ""));
    }
    const DwordReading& proxy = report.proxySwitch;
    std::string proxyState = kTextOn;
    if (!ProxyIsOn(proxy)) {
        const bool read = proxy.outcome == ReadOutcome::kRead;
        proxyState = std::string(kTextOff) + " (" +
                     (read ? Number(proxy.value) : OutcomeLabel(proxy.outcome)) + ")";
    }
    out += Line(kTextProxy, proxyState);
    out += Line(kTextServer, Shown(report.serverOutcome, report.server, console));
    out += Line(kTextBypass, Shown(report.bypassOutcome, report.bypass, console));
    out += Line(kTextLocal, report.local ? kTextYes : kTextNo);
    std::string list;
    for (const std::string& item : report.serverList) {
        AddItem(list, console.FromAnsi(item));
    }
    out += Line(kTextServerList, report.serverList.empty() ? kTextNone : list);

    std::string policies;
    if (report.zonePolicies.fromMachine) {
        policies += Line(kTextPolicy, kTextZonesFromMachine);
    }
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        if (const auto& value = report.zonePolicies.options[option]) {
            policies += Line(kTextPolicy, std::string(kTextZoneLabels[option]) + kTextZoneByPolicy +
                                              Number(*value));
        }
    }
    if (report.proxyPerMachine) {
        policies += Line(kTextPolicy, kTextProxyPerMachine);
    }
    return out + (policies.empty() ? Line(kTextPolicy, kTextNone) : policies);
}

std::string StatusJson(const StatusReport& report, Console& console) {
    std::string zone;
    std::string policyOptions;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        const DwordReading& reading = report.zone[option];
        const std::string name = Json(kZoneOptionNames[option]);
        zone += (option == 0 ? "" : ", ") + name + ": {\"value\": " +
                (reading.outcome == ReadOutcome::kRead ? std::to_string(reading.value) : "null") +
                ", \"setting\": " + Json(MeaningOf(option, reading).word) + "}";
        if (const auto& value = report.zonePolicies.options[option]) {
            AddItem(policyOptions, name + ": " + std::to_string(*value));
        }
    }
    std::string list;
    for (const std::string& item : report.serverList) {
        AddItem(list, Json(console.FromAnsi(item)));
    }
    return "{\"zone\": {" + zone +
           "}, \"proxy\": {\"enabled\": " + JsonBool(ProxyIsOn(report.proxySwitch)) +
           ", \"server\": " + JsonText(report.serverOutcome, report.server, console) +
           ", \"bypass\": " + JsonText(report.bypassOutcome, report.bypass, console) +
           ", \"local\": " + JsonBool(report.local) + ", \"serverList\": [" + list +
           "]}, \"policy\": {\"zonesFromMachine\": " + JsonBool(report.zonePolicies.fromMachine) +
           ", \"zoneOptions\": {" + policyOptions +
           "}, \"proxyPerMachine\": " + JsonBool(report.proxyPerMachine) + "}}\n";
}
