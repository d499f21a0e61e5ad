#include "cli/command_line.h"

#include <cstring>

#include "cli/cli_texts.h"

const char* const kZoneOptionNames[kZoneOptionCount] = {"javascript", "applet", "java", "cookies",
                                                        "session-cookies"};

namespace {

struct Named {
    const char* name;
    int value;
};

constexpr Named kSettings[] = {
    {"prompt", static_cast<int>(ZoneSetting::kPrompt)},
    {"enable", static_cast<int>(ZoneSetting::kEnable)},
    {"disable", static_cast<int>(ZoneSetting::kDisable)},
    {"high", static_cast<int>(ZoneSetting::kHigh)},
    {"medium", static_cast<int>(ZoneSetting::kMedium)},
    {"low", static_cast<int>(ZoneSetting::kLow)},
};
constexpr Named kPresets[] = {
    {"all-on", static_cast<int>(Preset::kAllOn)},
    {"all-off", static_cast<int>(Preset::kAllOff)},
    {"standard", static_cast<int>(Preset::kStandard)},
};
constexpr Named kOnOff[] = {{"off", 0}, {"on", 1}};
constexpr Named kKinds[] = {{"temporary", 0}, {"cookies", 1}};

template <std::size_t N>
std::optional<int> Find(const Named (&table)[N], const std::string& word) {
    for (const Named& entry : table) {
        if (word == entry.name) {
            return entry.value;
        }
    }
    return std::nullopt;
}

// The words and options of a command line; "--" ends the options, so a list
// or a server may begin with dashes.
struct Split {
    std::vector<std::string> words;
    std::vector<std::string> options;
};

Split SplitArguments(const std::vector<std::string>& args) {
    Split split;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            split.options.push_back(arg);
        } else {
            split.words.push_back(arg);
        }
    }
    return split;
}

// Reads the words after the command's own into it; false when they do not fit.
bool ReadWords(const std::vector<std::string>& w, Command* c, std::string* error) {
    const auto bad = [error](const std::string& word) {
        *error = kTextBadValue + word;
        return false;
    };
    const std::string& verb = w[0];
    std::optional<int> found;
    if (verb == "status" && w.size() == 1) {
        c->verb = Verb::kStatus;
    } else if (verb == "zone" && w.size() == 3) {
        c->verb = Verb::kZone;
        for (c->option = 0; c->option < kZoneOptionCount; ++c->option) {
            if (w[1] == kZoneOptionNames[c->option]) {
                break;
            }
        }
        found = Find(kSettings, w[2]);
        if (c->option == kZoneOptionCount) {
            return bad(w[1]);
        }
        if (!found || FindZoneChoice(c->option, static_cast<ZoneSetting>(*found)) == nullptr) {
            return bad(w[2]);
        }
        c->setting = static_cast<ZoneSetting>(*found);
    } else if (verb == "preset" && w.size() == 2) {
        c->verb = Verb::kPreset;
        if (!(found = Find(kPresets, w[1]))) {
            return bad(w[1]);
        }
        c->preset = static_cast<Preset>(*found);
    } else if (verb == "proxy" && w.size() == 2 && w[1] != "server" && w[1] != "bypass" &&
               w[1] != "local") {
        c->verb = Verb::kProxySwitch;
        if (!(found = Find(kOnOff, w[1]))) {
            return bad(w[1]);
        }
        c->on = *found != 0;
    } else if (verb == "proxy" && w.size() == 3 && (w[1] == "server" || w[1] == "bypass")) {
        c->verb = w[1] == "server" ? Verb::kProxyServer : Verb::kProxyBypass;
        c->text = w[2];
    } else if (verb == "proxy" && w.size() == 3 && w[1] == "local") {
        c->verb = Verb::kProxyLocal;
        if (!(found = Find(kOnOff, w[2]))) {
            return bad(w[2]);
        }
        c->on = *found != 0;
    } else if (verb == "cache" && w.size() == 3 && w[1] == "clean") {
        c->verb = Verb::kCacheClean;
        if (!(found = Find(kKinds, w[2]))) {
            return bad(w[2]);
        }
        c->cookies = *found != 0;
    } else {
        const bool known = verb == "status" || verb == "zone" || verb == "preset" ||
                           verb == "proxy" || verb == "cache";
        *error = (known ? kTextArguments : kTextUnknownCommand) + verb;
        for (std::size_t i = 1; i < w.size(); ++i) {
            *error += " " + w[i];
        }
        return false;
    }
    return true;
}

}  // namespace

const char* SettingName(ZoneSetting setting) {
    for (const Named& entry : kSettings) {
        if (entry.value == static_cast<int>(setting)) {
            return entry.name;
        }
    }
    return "";
}

std::optional<Command> ParseCommandLine(const std::vector<std::string>& args, std::string* error) {
    const Split split = SplitArguments(args);
    Command command;
    if (split.words.empty()) {
        const bool alone = split.options.size() == 1;
        if (alone && split.options[0] == "--help") {
            return command;
        }
        if (alone && split.options[0] == "--version") {
            command.verb = Verb::kVersion;
            return command;
        }
        *error = split.options.empty() ? std::string(kTextNoCommand)
                                       : kTextUnknownOption + split.options[0];
        return std::nullopt;
    }
    if (!ReadWords(split.words, &command, error)) {
        return std::nullopt;
    }
    const bool changes = command.verb != Verb::kStatus;
    for (const std::string& option : split.options) {
        if (option == "--json" && command.verb == Verb::kStatus) {
            command.json = true;
        } else if (option == "--yes" && command.verb == Verb::kCacheClean) {
            command.yes = true;
        } else if (option == "--no-notify" && changes) {
            command.notify = false;
        } else {
            *error = kTextUnknownOption + option;
            return std::nullopt;
        }
    }
    return command;
}
