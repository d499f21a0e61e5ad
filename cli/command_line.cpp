#include "cli/command_line.h"

#include <algorithm>
#include <iterator>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "store/text_format.h"

namespace {

using Words = std::vector<std::string>;

// Reads a verb's arguments into the command; false with *bad the word that
// is not right.
using ReadArguments = bool (*)(const Words& arguments, Command* c, std::string* bad);

bool ReadText(const Words& arguments, Command* c, std::string* /*bad*/) {
    c->text = arguments.empty() ? "" : arguments[0];
    if (arguments.size() > 1) {
        c->list = arguments[1];
    }
    return true;
}

bool ReadZone(const Words& arguments, Command* c, std::string* bad) {
    for (c->option = 0; c->option < kZoneOptionCount; ++c->option) {
        if (arguments[0] == ZoneOptionTable[c->option].word) {
            const auto setting = ZoneSettingOfWord(arguments[1]);
            *bad = arguments[1];
            if (!setting || FindZoneChoice(c->option, *setting) == nullptr) {
                return false;
            }
            c->setting = *setting;
            return true;
        }
    }
    *bad = arguments[0];
    return false;
}

template <class Value, std::size_t N>
bool ReadWord(const std::string& word, const std::pair<const char*, Value> (&words)[N],
              Value* value, std::string* bad) {
    for (const auto& [name, meaning] : words) {
        if (word == name) {
            *value = meaning;
            return true;
        }
    }
    *bad = word;
    return false;
}

bool ReadPreset(const Words& arguments, Command* c, std::string* bad) {
    constexpr std::pair<const char*, Preset> kPresets[] = {
        {"all-on", Preset::kAllOn}, {"all-off", Preset::kAllOff}, {"standard", Preset::kStandard}};
    return ReadWord(arguments[0], kPresets, &c->preset, bad);
}

bool ReadOnOff(const Words& arguments, Command* c, std::string* bad) {
    constexpr std::pair<const char*, bool> kOnOff[] = {{"on", true}, {"off", false}};
    return ReadWord(arguments[0], kOnOff, &c->on, bad);
}

bool ReadKind(const Words& arguments, Command* c, std::string* bad) {
    constexpr std::pair<const char*, bool> kKinds[] = {{"temporary", false}, {"cookies", true}};
    return ReadWord(arguments[0], kKinds, &c->cookies, bad);
}

struct VerbRow {
    const char* first;
    const char* second;  // null: a verb of one word
    std::size_t arguments;
    std::size_t optional;  // arguments that may follow them
    unsigned options;
    ReadArguments read;
    int (*run)(CliServices& s, const Command& c);
};

// A verb of two words comes before the verb of one that starts the same way.
constexpr VerbRow kVerbs[] = {
    {"status", nullptr, 0, 0, kOptionJson, ReadText, RunStatus},
    {"network", nullptr, 0, 0, kOptionJson, ReadText, RunNetwork},
    {"zone", nullptr, 2, 0, kOptionNoNotify, ReadZone, RunZone},
    {"preset", nullptr, 1, 0, kOptionNoNotify, ReadPreset, RunPreset},
    {"proxy", "server", 1, 0, kOptionNoNotify, ReadText, RunProxyServer},
    {"proxy", "bypass", 1, 0, kOptionNoNotify, ReadText, RunProxyBypass},
    {"proxy", "local", 1, 0, kOptionNoNotify, ReadOnOff, RunProxyLocal},
    {"proxy", nullptr, 1, 0, kOptionNoNotify, ReadOnOff, RunProxySwitch},
    {"cache", "clean", 1, 0, kOptionYes | kOptionNoNotify, ReadKind, RunCacheClean},
    {"profile", "save", 1, 0, kOptionForce, ReadText, RunProfileSave},
    {"profile", "apply", 1, 0, kOptionDryRun | kOptionNoNotify, ReadText, RunProfileApply},
    {"profile", "auto", 0, 0, kOptionDryRun | kOptionNoNotify, ReadText, RunProfileAuto},
    {"profile", "networks", 1, 1, kOptionHere | kOptionNone, ReadText, RunProfileNetworks},
    {"profile", "list", 0, 0, kOptionJson, ReadText, RunProfileList},
    {"profile", "show", 1, 0, kOptionJson, ReadText, RunProfileShow},
    {"profile", "delete", 1, 0, 0, ReadText, RunProfileDelete},
    {"undo", nullptr, 0, 0, kOptionForce | kOptionDryRun | kOptionNoNotify, ReadText, RunUndo},
};

constexpr std::pair<const char*, Option> kOptions[] = {
    {"--json", kOptionJson},      {"--yes", kOptionYes},     {"--no-notify", kOptionNoNotify},
    {"--dry-run", kOptionDryRun}, {"--force", kOptionForce}, {"--here", kOptionHere},
    {"--none", kOptionNone},
};

const VerbRow* FindVerb(const Words& words) {
    for (const VerbRow& row : kVerbs) {
        if (words[0] == row.first &&
            (row.second == nullptr || (words.size() > 1 && words[1] == row.second))) {
            return &row;
        }
    }
    return nullptr;
}

// The words and options of a command line; "--" ends the options, so a list
// or a server may begin with dashes.
void Split(const Words& args, Words* words, Words* options) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            options->push_back(arg);
        } else {
            words->push_back(arg);
        }
    }
}

}  // namespace

std::optional<Command> ParseCommandLine(const Words& args, std::string* error) {
    Words words;
    Words options;
    Split(args, &words, &options);
    Command command;
    if (words.empty()) {
        const bool alone = options.size() == 1;
        if (alone && options[0] == "--help") {
            command.run = RunHelp;
            return command;
        }
        if (alone && options[0] == "--version") {
            command.run = RunVersion;
            return command;
        }
        *error = options.empty() ? std::string(kTextNoCommand)
                                 : Concat({kTextUnknownOption, options[0]});
        return std::nullopt;
    }
    const VerbRow* row = FindVerb(words);
    const std::size_t verbWords = row != nullptr && row->second != nullptr ? 2 : 1;
    if (row == nullptr || words.size() < verbWords + row->arguments ||
        words.size() > verbWords + row->arguments + row->optional) {
        const bool known = std::any_of(std::begin(kVerbs), std::end(kVerbs),
                                       [&words](const VerbRow& r) { return words[0] == r.first; });
        *error = Concat({known ? kTextArguments : kTextUnknownCommand, Joined(words, " ")});
        return std::nullopt;
    }
    command.run = row->run;
    std::string bad;
    if (!row->read(Words(words.begin() + static_cast<std::ptrdiff_t>(verbWords), words.end()),
                   &command, &bad)) {
        *error = Concat({kTextBadValue, bad});
        return std::nullopt;
    }
    for (const std::string& option : options) {
        Option bit{};
        std::string unknown;
        if (!ReadWord(option, kOptions, &bit, &unknown) || (row->options & bit) == 0) {
            *error = Concat({kTextUnknownOption, option});
            return std::nullopt;
        }
        command.options |= bit;
    }
    return command;
}
