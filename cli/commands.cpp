#include <string>

#include "cache/url_cache_cleaner.h"
#include "cli/cli.h"
#include "cli/cli_texts.h"
#include "cli/command_line.h"
#include "cli/status.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "texts/messages.h"

namespace {

int Usage(Console& console, const std::string& error) {
    console.Err(error + "\n");
    console.Err(kTextUsage);
    return kExitUsage;
}

int Say(Console& console, const char* message, int exitCode) {
    console.Err(std::string(message) + "\n");
    return exitCode;
}

int Failed(Console& console, const char* message) {
    return Say(console, message, kExitFailed);
}

int Changed(CliServices& s, const Command& c, const std::string& what) {
    if (c.notify) {
        s.notifier.SettingsChanged();
    }
    s.console.Out(kTextDone + what + "\n");
    return kExitDone;
}

int RunZone(CliServices& s, const Command& c) {
    const ZoneChoice* choice = FindZoneChoice(c.option, c.setting);
    if (!WriteZoneOption(s.registry, c.option, choice->value)) {
        return Failed(s.console, kMsgZoneWriteFailed);
    }
    return Changed(s, c, std::string(kZoneOptionNames[c.option]) + " " + SettingName(c.setting));
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
            std::string(kZoneOptionNames[option]) + " " + SettingName(settings[option]);
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
    if (!s.console.ToAnsi(c.text, &server)) {
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
            return Usage(s.console, kTextServerTooLong);
        case ServerStore::kWriteFailed:
            break;
    }
    return Failed(s.console, kMsgProxyWriteFailed);
}

// Keeps the local-address entry as it is stored, as the dialog's set button
// keeps what its check box shows.
int RunProxyBypass(CliServices& s, const Command& c) {
    std::string list;
    if (!s.console.ToAnsi(c.text, &list)) {
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
    if (!c.yes && !Confirmed(s.console)) {
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

}  // namespace

int RunCli(const std::vector<std::string>& args, CliServices& services) {
    std::string error;
    const std::optional<Command> command = ParseCommandLine(args, &error);
    if (!command) {
        return Usage(services.console, error);
    }
    switch (command->verb) {
        case Verb::kHelp:
            services.console.Out(kTextHelp);
            return kExitDone;
        case Verb::kVersion:
            services.console.Out(kTextVersion);
            return kExitDone;
        case Verb::kStatus: {
            const StatusReport report = ReadStatus(services);
            services.console.Out(command->json ? StatusJson(report, services.console)
                                               : StatusText(report, services.console));
            return kExitDone;
        }
        case Verb::kZone:
            return RunZone(services, *command);
        case Verb::kPreset:
            return RunPreset(services, *command);
        case Verb::kProxySwitch:
            return RunProxySwitch(services, *command);
        case Verb::kProxyServer:
            return RunProxyServer(services, *command);
        case Verb::kProxyBypass:
            return RunProxyBypass(services, *command);
        case Verb::kProxyLocal:
            return RunProxyLocal(services, *command);
        case Verb::kCacheClean:
            break;
    }
    return RunCacheClean(services, *command);
}
