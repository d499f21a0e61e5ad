#include <algorithm>
#include <string>

#include "change/switches.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/replies.h"
#include "proxy/proxy_settings.h"
#include "store/text_format.h"
#include "texts/change_words.h"
#include "texts/messages.h"

namespace {

// What a switch's end prints, and its exit code: `what` names the change,
// `writeFailed` is the dialog's message for a failed write of it.
int Switched(CliServices& s, const Command& c, SwitchEnd end, const std::string& what,
             const char* writeFailed) {
    switch (end) {
        case SwitchEnd::kDone:
            return Done(s, c, what);
        case SwitchEnd::kUnchanged:
            s.console.Out(Concat({kTextUnchanged, what, "\n"}));
            return kExitDone;
        case SwitchEnd::kBlank:
            return Usage(s.console, kMsgPortMissing);
        case SwitchEnd::kNoColon:
            return Usage(s.console, kMsgColonMissing);
        case SwitchEnd::kTooLong:
            return Usage(s.console, kTextListTooLong);
        case SwitchEnd::kUnreadable:
            return Say(s.console, kMsgReadFailed, kExitFailed);
        case SwitchEnd::kUndoNotSaved:
            return Say(s.console, kTextUndoNotSaved, kExitFailed);
        case SwitchEnd::kWriteFailed:
            break;
    }
    return Say(s.console, writeFailed, kExitFailed);
}

std::string ZoneWhat(std::size_t option, ZoneSetting setting) {
    return Concat({ZoneOptionTable[option].word, " ", ZoneSettingWord(setting)});
}

// The text in the system's code page; false after saying it has none.
bool ToAnsiOrSay(CliServices& s, const std::string& utf8, std::string* ansi, int* exitCode) {
    if (s.charset.ToAnsi(utf8, ansi)) {
        return true;
    }
    *exitCode = Usage(s.console, Concat({kTextNotAnsi, utf8}));
    return false;
}

}  // namespace

int RunZone(CliServices& s, const Command& c) {
    SettingChange change(s.registry, s.userFiles);
    return Switched(s, c, SwitchZone(change, c.option, c.setting), ZoneWhat(c.option, c.setting),
                    kMsgZoneWriteFailed);
}

// The options it set are told together; each that failed, on its own.
int RunPreset(CliServices& s, const Command& c) {
    SettingChange change(s.registry, s.userFiles);
    const auto ends = SwitchPreset(change, c.preset);
    if (std::find(ends.begin(), ends.end(), SwitchEnd::kUndoNotSaved) != ends.end()) {
        return Say(s.console, kTextUndoNotSaved, kExitFailed);
    }
    std::vector<std::string> done;
    for (std::size_t option = 0; option < kZoneOptionCount; ++option) {
        const std::string what = ZoneWhat(option, PresetSettings(c.preset)[option]);
        if (ends[option] == SwitchEnd::kDone) {
            done.push_back(what);
        } else {
            s.console.Err(Concat({kMsgZoneWriteFailed, " (", what, ")\n"}));
        }
    }
    if (done.empty()) {
        return kExitFailed;
    }
    Done(s, c, Joined(done));
    return done.size() == kZoneOptionCount ? kExitDone : kExitFailed;
}

int RunProxySwitch(CliServices& s, const Command& c) {
    SettingChange change(s.registry, s.userFiles);
    return Switched(s, c, SwitchProxy(change, c.on), c.on ? "proxy on" : "proxy off",
                    kMsgProxyWriteFailed);
}

int RunProxyServer(CliServices& s, const Command& c) {
    std::string server;
    int exitCode = kExitDone;
    if (!ToAnsiOrSay(s, c.text, &server, &exitCode)) {
        return exitCode;
    }
    SettingChange change(s.registry, s.userFiles);
    const SwitchEnd end = SetProxyServer(change, server);
    if (end == SwitchEnd::kTooLong) {
        return Usage(s.console,
                     Concat({kTextServerTooLong, Decimal(kMaxServerLength), kTextBytesAtMost}));
    }
    return Switched(s, c, end, Concat({"proxy server ", c.text}), kMsgProxyWriteFailed);
}

int RunProxyBypass(CliServices& s, const Command& c) {
    std::string list;
    int exitCode = kExitDone;
    if (!ToAnsiOrSay(s, c.text, &list, &exitCode)) {
        return exitCode;
    }
    SettingChange change(s.registry, s.userFiles);
    return Switched(s, c, SetProxyBypass(change, list), Concat({"proxy bypass ", c.text}),
                    kMsgProxyWriteFailed);
}

int RunProxyLocal(CliServices& s, const Command& c) {
    SettingChange change(s.registry, s.userFiles);
    return Switched(s, c, SetLocalAddresses(change, c.on),
                    c.on ? "proxy local on" : "proxy local off", kMsgProxyWriteFailed);
}
