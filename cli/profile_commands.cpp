#include <algorithm>
#include <string>
#include <vector>

#include "change/network_choice.h"
#include "change/profile_apply.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/replies.h"
#include "profile/profile_store.h"
#include "store/text_format.h"
#include "network/networks.h"
#include "proxy/proxy_settings.h"
#include "texts/change_words.h"
#include "texts/network_words.h"
#include "texts/setting_words.h"

namespace {

using Entries = std::vector<std::string>;

// The file of the profile the command names; empty when the name is refused
// or there is no folder for it, which was said.
std::string PathOfName(CliServices& s, const Command& c, int* exitCode) {
    if (!IsProfileName(c.text, s.charset)) {
        *exitCode = Say(s.console, {kTextBadName, c.text}, kExitUsage);
        return {};
    }
    const std::string folder = AppFolderOrSay(s);
    *exitCode = folder.empty() ? kExitFailed : kExitDone;
    return folder.empty() ? folder : ProfilePath(folder, c.text);
}

// The profile the command names, read and checked whole; when it cannot be,
// *exitCode tells why, and it was said.
LoadedProfile Open(CliServices& s, const Command& c, int* exitCode) {
    const std::string path = PathOfName(s, c, exitCode);
    if (path.empty()) {
        return {};
    }
    LoadedProfile loaded = LoadProfile(s.userFiles, s.charset, path);
    switch (loaded.outcome) {
        case ProfileLoad::kLoaded:
            break;
        case ProfileLoad::kMissing:
            *exitCode = Say(s.console, {kTextNoProfile, c.text}, kExitUsage);
            break;
        case ProfileLoad::kUnreadable:
            *exitCode = Say(s.console, ProfileProblem(loaded), kExitFailed);
            break;
        case ProfileLoad::kInvalid:
            *exitCode = Say(s.console, ProfileProblem(loaded), kExitUsage);
            break;
    }
    return loaded;
}

// A value written where a policy overrides it changes nothing the browser
// does; the user is told, and it is written all the same.
void WarnOfPolicies(CliServices& s, const std::vector<ApplyStep>& plan) {
    const ZonePolicies zones = ReadZonePolicies(s.registry);
    const bool perMachine = ProxyIsPerMachine(s.registry);
    for (const ApplyStep& step : plan) {
        const SettingRow& setting = SettingTable[step.row];
        std::string why;
        if (!step.changes) {
            continue;
        }
        if (setting.kind != SettingKind::kZone) {
            why = perMachine ? Concat({": ", kTextProxyPerMachine}) : "";
        } else if (zones.fromMachine) {
            why = Concat({": ", kTextZonesFromMachine});
        } else if (const auto& value = zones.options[setting.option]) {
            why = Concat({kTextZoneByPolicy, ShownNumber(*value)});
        }
        if (!why.empty()) {
            s.console.Err(Concat({kTextWarning, SettingLabel(step.row), why, "\n"}));
        }
    }
}

// Tells what changes, then writes only what differs: all of it, or, when a
// write fails, none of it.
int ApplyProfile(CliServices& s, const Command& c, const LoadedProfile& loaded,
                 const std::string& name) {
    const std::vector<ApplyStep> plan = PlanApply(s.registry, loaded.reading.profile);
    for (const ApplyStep& step : plan) {
        const std::string now = ShownSetting(step.row, step.now, s.charset);
        const SettingReading next{ReadOutcome::kRead, step.next};
        s.console.Out(Line(SettingLabel(step.row),
                           step.changes
                               ? Concat({now, kTextArrow, ShownSetting(step.row, next, s.charset)})
                               : Concat({now, kTextNoChange})));
    }
    if (c.Has(kOptionDryRun)) {
        return kExitDone;
    }
    const std::string what = Concat({"profile ", name});
    if (std::none_of(plan.begin(), plan.end(),
                     [](const ApplyStep& step) { return step.changes; })) {
        s.console.Out(Concat({kTextUnchanged, what, "\n"}));
        return kExitDone;
    }
    WarnOfPolicies(s, plan);
    SettingChange change(s.registry, s.userFiles);
    const ChangeOutcome outcome = Apply(change, plan);
    return outcome.end == ChangeOutcome::kFailed ? ChangeFailed(s, outcome) : Done(s, c, what);
}

}  // namespace

int RunProfileSave(CliServices& s, const Command& c) {
    int exitCode = kExitDone;
    const std::string path = PathOfName(s, c, &exitCode);
    if (path.empty()) {
        return exitCode;
    }
    const ProfileSave save =
        SaveProfile(s.registry, s.userFiles, s.charset, path, c.Has(kOptionForce));
    if (save.end == ProfileSave::kExists) {
        return Say(s.console, {kTextProfileExists, c.text}, kExitUsage);
    }
    for (const auto& [row, outcome] : save.leftOut) {
        s.console.Err(Concat(
            {kTextWarning, SettingLabel(row), ": ", OutcomeLabel(outcome), kTextLeftOut, "\n"}));
    }
    if (save.end == ProfileSave::kFailed) {
        return Say(s.console, {kTextSaveFailed, path}, kExitFailed);
    }
    s.console.Out(Concat({kTextSaved, c.text, "\n"}));
    return kExitDone;
}

int RunProfileApply(CliServices& s, const Command& c) {
    int exitCode = kExitDone;
    const LoadedProfile loaded = Open(s, c, &exitCode);
    return exitCode != kExitDone ? exitCode : ApplyProfile(s, c, loaded, c.text);
}

// Decides as `network` tells, then applies as `profile apply` does. Nothing
// is decided, nor written, while a profile cannot be read.
int RunProfileAuto(CliServices& s, const Command& c) {
    const std::string folder = AppFolderOrSay(s);
    if (folder.empty()) {
        return kExitFailed;
    }
    const NetworkChoice choice = ChooseForNetwork(s.userFiles, s.charset, s.networks, folder);
    if (!choice.listed) {
        return Say(s.console, kTextListFailed, kExitFailed);
    }
    for (const LoadedProfile& problem : choice.unreadable) {
        Say(s.console, ProfileProblem(problem), kExitUsage);
    }
    if (!choice.unreadable.empty()) {
        return kExitUsage;
    }
    switch (choice.decision.kind) {
        case NetworkDecision::kProfile:
            break;
        case NetworkDecision::kNone:
            s.console.Out(Concat({ChoiceLine(choice), "\n"}));
            return kExitDone;
        case NetworkDecision::kSeveral:
        case NetworkDecision::kTwoWildcards:
            return Say(s.console, ChoiceReason(choice), kExitUsage);
    }
    s.console.Out(Concat({ChoiceLine(choice), "\n"}));
    return ApplyProfile(s, c, choice.chosen, choice.decision.profile);
}

// Sets the profile's networks line, every other line kept as it is.
int RunProfileNetworks(CliServices& s, const Command& c) {
    if ((c.list ? 1 : 0) + (c.Has(kOptionHere) ? 1 : 0) + (c.Has(kOptionNone) ? 1 : 0) != 1) {
        return Usage(s.console, kTextNetworksWanted);
    }
    int exitCode = kExitDone;
    const LoadedProfile loaded = Open(s, c, &exitCode);
    if (exitCode != kExitDone) {
        return exitCode;
    }
    ProfileNetworks networks;
    if (c.Has(kOptionHere)) {
        const std::string here = MostSpecificIdentity(ReadNetworks(s.networks));
        if (here.empty()) {
            return Say(s.console, kTextNoNetwork, kExitFailed);
        }
        networks = Entries{here};
    } else if (c.list) {
        networks.emplace();
        if (ParseNetworks(*c.list, &*networks) != ProfileError::kNone) {
            return Usage(s.console, Concat({kTextBadValue, *c.list}));
        }
    }
    std::string text;
    if (s.userFiles.LoadFile(loaded.path, kMaxProfileBytes, &text) != FileOutcome::kDone ||
        !s.userFiles.SaveFile(loaded.path, WithNetworks(text, networks))) {
        return Say(s.console, {kTextSaveFailed, loaded.path}, kExitFailed);
    }
    s.console.Out(Concat({kTextSaved, c.text, "\n"}));
    return kExitDone;
}

int RunProfileList(CliServices& s, const Command& c) {
    const std::string folder = AppFolderOrSay(s);
    std::vector<std::string> names;
    if (folder.empty()) {
        return kExitFailed;
    }
    if (!ListProfiles(s.userFiles, folder, s.charset, &names)) {
        return Say(s.console, kTextListFailed, kExitFailed);
    }
    if (!c.Has(kOptionJson)) {
        for (const std::string& name : names) {
            s.console.Out(Concat({name, "\n"}));
        }
        return kExitDone;
    }
    std::vector<std::string> objects;
    objects.reserve(names.size());
    for (const std::string& name : names) {
        const LoadedProfile loaded = LoadProfile(s.userFiles, s.charset, ProfilePath(folder, name));
        objects.push_back(Concat({"{\"name\": ", Json(name), ", \"networks\": ",
                                  JsonList(loaded.reading.networks.value_or(Entries{})), "}"}));
    }
    s.console.Out(Concat({"[", Joined(objects), "]\n"}));
    return kExitDone;
}

int RunProfileShow(CliServices& s, const Command& c) {
    int exitCode = kExitDone;
    const LoadedProfile loaded = Open(s, c, &exitCode);
    if (exitCode != kExitDone) {
        return exitCode;
    }
    const Profile& profile = loaded.reading.profile;
    const Entries networks = loaded.reading.networks.value_or(Entries{});
    std::string text;
    std::vector<std::string> values;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (profile[row]) {
            text += Line(SettingLabel(row),
                         ShownSetting(row, {ReadOutcome::kRead, *profile[row]}, s.charset));
            values.push_back(Concat(
                {Json(SettingTable[row].word), ": ", SettingJson(row, *profile[row], s.charset)}));
        }
    }
    if (!networks.empty()) {
        text += Line(kTextNetworks, Joined(networks, ";"));
    }
    s.console.Out(c.Has(kOptionJson)
                      ? Concat({"{\"name\": ", Json(c.text), ", \"values\": {", Joined(values),
                                "}, \"networks\": ", JsonList(networks), "}\n"})
                      : text);
    return kExitDone;
}

int RunProfileDelete(CliServices& s, const Command& c) {
    int exitCode = kExitDone;
    const std::string path = PathOfName(s, c, &exitCode);
    if (path.empty()) {
        return exitCode;
    }
    switch (s.userFiles.RemoveFile(path)) {
        case FileOutcome::kDone:
            s.console.Out(Concat({kTextRemoved, c.text, "\n"}));
            return kExitDone;
        case FileOutcome::kMissing:
            return Say(s.console, {kTextNoProfile, c.text}, kExitUsage);
        case FileOutcome::kFailed:
            break;
    }
    return Say(s.console, {kTextRemoveFailed, path}, kExitFailed);
}
