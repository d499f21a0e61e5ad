#include <string>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/status.h"
#include "profile/profile_store.h"
#include "proxy/proxy_settings.h"
#include "texts/messages.h"

namespace {

std::string Line(const char* label, const std::string& value) {
    return std::string(label) + ": " + value + "\n";
}

// A profile named on the command line, read and checked whole; when it
// cannot be, exitCode tells why, and it was said.
struct Opened {
    int exitCode = kExitDone;
    LoadedProfile loaded;
};

// The file of the profile the command names; empty when the name is refused
// or there is no folder for it, which was said.
std::string PathOfName(CliServices& s, const Command& c, int* exitCode) {
    if (!IsProfileName(c.text, s.charset)) {
        *exitCode = Say(s.console, kTextBadName + c.text, kExitUsage);
        return {};
    }
    const std::string folder = AppFolderOrSay(s);
    *exitCode = folder.empty() ? kExitFailed : kExitDone;
    return folder.empty() ? folder : ProfilePath(folder, c.text);
}

Opened Open(CliServices& s, const Command& c) {
    Opened opened;
    const std::string path = PathOfName(s, c, &opened.exitCode);
    if (path.empty()) {
        return opened;
    }
    opened.loaded = LoadProfile(s.userFiles, s.charset, path);
    const LoadedProfile& loaded = opened.loaded;
    switch (loaded.outcome) {
        case ProfileLoad::kLoaded:
            break;
        case ProfileLoad::kMissing:
            opened.exitCode = Say(s.console, kTextNoProfile + c.text, kExitUsage);
            break;
        case ProfileLoad::kUnreadable:
            opened.exitCode = Say(s.console, kTextProfileUnreadable + loaded.path, kExitFailed);
            break;
        case ProfileLoad::kInvalid:
            opened.exitCode =
                Say(s.console,
                    kTextProfileInvalid + loaded.path + kTextLine +
                        std::to_string(loaded.reading.line) + kTextLineEnd +
                        kTextProfileErrors[static_cast<int>(loaded.reading.error) - 1],
                    kExitUsage);
            break;
    }
    return opened;
}

// A value written where a policy overrides it changes nothing the browser
// does; the user is told, and it is written all the same.
void WarnOfPolicies(CliServices& s, const std::vector<std::size_t>& rows) {
    const ZonePolicies zones = ReadZonePolicies(s.registry);
    const bool perMachine = ProxyIsPerMachine(s.registry);
    for (const std::size_t row : rows) {
        const SettingRow& setting = SettingTable[row];
        std::string why;
        if (setting.kind != SettingKind::kZone) {
            why = perMachine ? std::string(": ") + kTextProxyPerMachine : "";
        } else if (zones.fromMachine) {
            why = std::string(": ") + kTextZonesFromMachine;
        } else if (const auto& value = zones.options[setting.option]) {
            why = kTextZoneByPolicy + ShownNumber(*value);
        }
        if (!why.empty()) {
            s.console.Err(kTextWarning + std::string(SettingLabel(row)) + why + "\n");
        }
    }
}

}  // namespace

std::string AppFolderOrSay(CliServices& s) {
    std::string folder = AppFolder(s.userFiles);
    if (folder.empty()) {
        Say(s.console, kTextNoAppFolder, kExitFailed);
    }
    return folder;
}

int RollBack(CliServices& s, UndoRecorder& recorder, std::size_t row) {
    const bool zone = SettingTable[row].kind == SettingKind::kZone;
    s.console.Err(std::string(zone ? kMsgZoneWriteFailed : kMsgProxyWriteFailed) + " (" +
                  SettingTable[row].word + ")\n");
    return Say(s.console, recorder.Rollback() ? kTextRolledBack : kTextNotRolledBack, kExitFailed);
}

int RunProfileSave(CliServices& s, const Command& c) {
    int exitCode = kExitDone;
    const std::string path = PathOfName(s, c, &exitCode);
    if (path.empty()) {
        return exitCode;
    }
    std::string existing;
    if (s.userFiles.LoadFile(path, kMaxProfileBytes, &existing) != FileOutcome::kMissing &&
        !c.Has(kOptionForce)) {
        return Say(s.console, kTextProfileExists + c.text, kExitUsage);
    }
    Profile profile;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        const SettingReading reading = ReadSetting(s.registry, row);
        if (reading.outcome == ReadOutcome::kRead) {
            profile[row] = reading.value;
        } else {
            s.console.Err(
                kTextWarning +
                Line(SettingLabel(row),
                     (reading.outcome == ReadOutcome::kMissing ? kTextMissing : kTextUnreadable) +
                         std::string(kTextLeftOut)));
        }
    }
    if (!s.userFiles.SaveFile(path, FormatProfile(profile, s.charset))) {
        return Say(s.console, kTextSaveFailed + path, kExitFailed);
    }
    s.console.Out(kTextSaved + c.text + "\n");
    return kExitDone;
}

// Checks the whole profile, tells what changes, then writes only what
// differs: all of it, or, when a write fails, none of it.
int RunProfileApply(CliServices& s, const Command& c, UndoRecorder& recorder) {
    const Opened opened = Open(s, c);
    if (opened.exitCode != kExitDone) {
        return opened.exitCode;
    }
    const Profile& profile = opened.loaded.reading.profile;
    std::vector<std::size_t> changes;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (!profile[row]) {
            continue;
        }
        const SettingReading now = ReadSetting(s.registry, row);
        const bool same = now.outcome == ReadOutcome::kRead && now.value == *profile[row];
        const SettingReading next{ReadOutcome::kRead, *profile[row]};
        s.console.Out(
            Line(SettingLabel(row),
                 ShownSetting(row, now, s.charset) +
                     (same ? kTextNoChange : kTextArrow + ShownSetting(row, next, s.charset))));
        if (!same) {
            changes.push_back(row);
        }
    }
    if (c.Has(kOptionDryRun)) {
        return kExitDone;
    }
    if (changes.empty()) {
        s.console.Out(kTextUnchanged + ("profile " + c.text) + "\n");
        return kExitDone;
    }
    WarnOfPolicies(s, changes);
    for (const std::size_t row : changes) {
        if (!WriteSetting(s.registry, row, *profile[row])) {
            return RollBack(s, recorder, row);
        }
    }
    return Changed(s, c, "profile " + c.text);
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
    std::string out;
    for (const std::string& name : names) {
        out += c.Has(kOptionJson) ? (out.empty() ? "" : ", ") + ("{\"name\": " + Json(name) + "}")
                                  : name + "\n";
    }
    s.console.Out(c.Has(kOptionJson) ? "[" + out + "]\n" : out);
    return kExitDone;
}

int RunProfileShow(CliServices& s, const Command& c) {
    const Opened opened = Open(s, c);
    if (opened.exitCode != kExitDone) {
        return opened.exitCode;
    }
    const Profile& profile = opened.loaded.reading.profile;
    std::string out;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (!profile[row]) {
            continue;
        }
        if (c.Has(kOptionJson)) {
            out += (out.empty() ? "" : ", ") + Json(SettingTable[row].word) + ": " +
                   SettingJson(row, *profile[row], s.charset);
        } else {
            out += Line(SettingLabel(row),
                        ShownSetting(row, {ReadOutcome::kRead, *profile[row]}, s.charset));
        }
    }
    s.console.Out(
        c.Has(kOptionJson) ? "{\"name\": " + Json(c.text) + ", \"values\": {" + out + "}}\n" : out);
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
            s.console.Out(kTextRemoved + c.text + "\n");
            return kExitDone;
        case FileOutcome::kMissing:
            return Say(s.console, kTextNoProfile + c.text, kExitUsage);
        case FileOutcome::kFailed:
            break;
    }
    return Say(s.console, kTextRemoveFailed + path, kExitFailed);
}
