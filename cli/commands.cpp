#include "cli/commands.h"

#include <optional>
#include <string>

#include "cache/url_cache_cleaner.h"
#include "cli/cli_texts.h"
#include "cli/status.h"
#include "profile/profile_store.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "texts/messages.h"

int Usage(Console& console, const std::string& error) {
    console.Err(error + "\n");
    console.Err(kTextUsage);
    return kExitUsage;
}

int Say(Console& console, const std::string& message, int exitCode) {
    console.Err(message + "\n");
    return exitCode;
}

int Changed(CliServices& s, const Command& c, const std::string& what) {
    if (!c.Has(kOptionNoNotify)) {
        s.notifier.SettingsChanged();
    }
    s.console.Out(kTextDone + what + "\n");
    return kExitDone;
}

namespace {

int Failed(Console& console, const char* message) {
    return Say(console, message, kExitFailed);
}

int RunZone(CliServices& s, const Command& c) {
    const ZoneChoice* choice = FindZoneChoice(c.option, c.setting);
    if (!WriteZoneOption(s.registry, c.option, choice->value)) {
        return Failed(s.console, kMsgZoneWriteFailed);
    }
    return Changed(s, c,
                   std::string(ZoneOptionTable[c.option].word) + " " + ZoneSettingWord(c.setting));
}

// Writes all five, as the dialog's five clicks do: a failure does not stop
// the others.
int RunPreset(CliServices& s, const Command& c) {
    const auto& settings = PresetSettings(c.preset);
    std::string done;
    std::size_t failures = 0;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        const ZoneChoice* choice = FindZoneChoice(option, settings[option]);
        const std::string what =
            std::string(ZoneOptionTable[option].word) + " " + ZoneSettingWord(settings[option]);
        if (WriteZoneOption(s.registry, option, choice->value)) {
            done += (done.empty() ? "" : ", ") + what;
        } else {
            ++failures;
            s.console.Err(std::string(kMsgZoneWriteFailed) + " (" + what + ")\n");
        }
    }
    if (failures == kZoneOptionCount) {
        return kExitFailed;
    }
    Changed(s, c, done);
    return failures == 0 ? kExitDone : kExitFailed;
}

int RunProxySwitch(CliServices& s, const Command& c) {
    if (!WriteProxySwitch(s.registry, c.on)) {
        return Failed(s.console, kMsgProxyWriteFailed);
    }
    return Changed(s, c, c.on ? "proxy on" : "proxy off");
}

int RunProxyServer(CliServices& s, const Command& c) {
    std::string server;
    if (!s.charset.ToAnsi(c.text, &server)) {
        return Usage(s.console, kTextNotAnsi + c.text);
    }
    switch (StoreProxyServer(s.registry, server)) {
        case ServerStore::kStored:
            return Changed(s, c, "proxy server " + c.text);
        case ServerStore::kBlank:
            return Usage(s.console, kMsgPortMissing);
        case ServerStore::kNoColon:
            return Usage(s.console, kMsgColonMissing);
        case ServerStore::kTooLong:
            return Usage(s.console,
                         kTextServerTooLong + std::to_string(kMaxServerLength) + kTextBytesAtMost);
        case ServerStore::kWriteFailed:
            break;
    }
    return Failed(s.console, kMsgProxyWriteFailed);
}

// Keeps the local-address entry as it is stored, as the dialog's set button
// keeps what its check box shows.
int RunProxyBypass(CliServices& s, const Command& c) {
    std::string list;
    if (!s.charset.ToAnsi(c.text, &list)) {
        return Usage(s.console, kTextNotAnsi + c.text);
    }
    std::string stored;
    if (ReadExclusions(s.registry, &stored) == ReadOutcome::kUnreadable) {
        return Failed(s.console, kMsgReadFailed);
    }
    switch (StoreExclusions(s.registry, list, StripLocalSuffix(stored))) {
        case ListStore::kStored:
            return Changed(s, c, "proxy bypass " + c.text);
        case ListStore::kTooLong:
            return Usage(s.console, kTextListTooLong);
        case ListStore::kWriteFailed:
            break;
    }
    return Failed(s.console, kMsgProxyWriteFailed);
}

int RunProxyLocal(CliServices& s, const Command& c) {
    const std::string what = c.on ? "proxy local on" : "proxy local off";
    switch (SwitchLocalAddresses(s.registry, c.on, true)) {
        case LocalSwitch::kStored:
            return Changed(s, c, what);
        case LocalSwitch::kUnchanged:
            s.console.Out(kTextUnchanged + what + "\n");
            return kExitDone;
        case LocalSwitch::kUnreadable:
            return Failed(s.console, kMsgReadFailed);
        case LocalSwitch::kWriteFailed:
            break;
    }
    return Failed(s.console, kMsgProxyWriteFailed);
}

// Asks until the answer is y or n; the end of the input is no.
bool Confirmed(Console& console) {
    std::string line;
    do {
        console.Err(std::string(kMsgConfirmDelete) + kTextAnswer);
        if (!console.ReadLine(&line)) {
            console.Err("\n");
            return false;
        }
    } while (line != "y" && line != "Y" && line != "n" && line != "N");
    return line == "y" || line == "Y";
}

class ConsoleProgress final : public CleanObserver {
  public:
    explicit ConsoleProgress(Console& console) : console_(console) {}
    bool KeepGoing(const CleanResult& soFar) override { return console_.Progress(soFar.deleted); }

  private:
    Console& console_;
};

int RunCacheClean(CliServices& s, const Command& c) {
    if (!c.Has(kOptionYes) && !Confirmed(s.console)) {
        return Say(s.console, kTextCancelled, kExitCancelled);
    }
    ConsoleProgress progress(s.console);
    const CleanResult result = c.cookies ? DeleteCookies(s.urlCache, &progress)
                                         : DeleteTemporaryFiles(s.urlCache, &progress);
    s.console.EndProgress();
    s.console.Out(std::to_string(result.deleted) + kTextDeleted + "\n");
    switch (result.end) {
        case CleanEnd::kComplete:
            return kExitDone;
        case CleanEnd::kStopped:
            return Say(s.console, kTextCancelled, kExitCancelled);
        case CleanEnd::kFailed:
            break;
    }
    return Failed(s.console, kTextCleanFailed);
}

int Run(CliServices& s, const Command& c, UndoRecorder& recorder) {
    switch (c.verb) {
        case Verb::kHelp:
            s.console.Out(kTextHelp);
            return kExitDone;
        case Verb::kVersion:
            s.console.Out(kTextVersion);
            return kExitDone;
        case Verb::kStatus: {
            const StatusReport report = ReadStatus(s);
            s.console.Out(c.Has(kOptionJson) ? StatusJson(report, s.charset)
                                             : StatusText(report, s.charset));
            return kExitDone;
        }
        case Verb::kZone:
            return RunZone(s, c);
        case Verb::kPreset:
            return RunPreset(s, c);
        case Verb::kProxySwitch:
            return RunProxySwitch(s, c);
        case Verb::kProxyServer:
            return RunProxyServer(s, c);
        case Verb::kProxyBypass:
            return RunProxyBypass(s, c);
        case Verb::kProxyLocal:
            return RunProxyLocal(s, c);
        case Verb::kCacheClean:
            return RunCacheClean(s, c);
        case Verb::kProfileSave:
            return RunProfileSave(s, c);
        case Verb::kProfileApply:
            return RunProfileApply(s, c, recorder);
        case Verb::kProfileList:
            return RunProfileList(s, c);
        case Verb::kProfileShow:
            return RunProfileShow(s, c);
        case Verb::kProfileDelete:
            return RunProfileDelete(s, c);
        case Verb::kUndo:
            break;
    }
    return RunUndo(s, c, recorder);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliServices& services) {
    std::string error;
    const std::optional<Command> command = ParseCommandLine(args, &error);
    if (!command) {
        return Usage(services.console, error);
    }
    // Every change of a setting is recorded first, whichever command makes it.
    UndoRecorder recorder(services.registry, services.userFiles,
                          UndoPointPath(AppFolder(services.userFiles)));
    const int exitCode = Run(services, *command, recorder);
    if (recorder.SaveFailed()) {
        services.console.Err(std::string(kTextUndoNotSaved) + "\n");
    }
    return exitCode;
}
