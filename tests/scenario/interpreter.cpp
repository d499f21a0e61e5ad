#include "tests/scenario/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace scenario {
namespace {

using Error = std::runtime_error;

// A line of a table: words, and quoted texts with escapes and repeats resolved.
struct Line {
    int number = 0;
    std::vector<std::pair<std::string, bool>> tokens;  // text, quoted

    std::size_t Size() const { return tokens.size(); }
    std::string Word(std::size_t i) const {
        return i < Size() && !tokens[i].second ? tokens[i].first : "";
    }
    std::string Text(std::size_t i) const {
        return i < Size() && tokens[i].second ? tokens[i].first : throw Error("a text is missing");
    }
    std::string Texts(std::size_t i) const { return i < Size() ? Text(i) + Texts(i + 1) : ""; }
};

struct Block {
    std::string title;
    int number = 0;
    std::vector<Line> lines;
};

struct Table {
    std::string path;
    std::vector<Line> header;
    std::map<std::string, Block> defines;
    std::vector<Block> scenarios;
};

std::uint32_t Number(const std::string& word) {
    std::size_t used = 0;
    const unsigned long n = std::stoul(word, &used, 0);
    return used == word.size() ? static_cast<std::uint32_t>(n) : throw Error("bad number " + word);
}

Line Tokenize(int number, const std::string& text) {
    Line line{number, {}};
    std::size_t glueAt = std::string::npos;  // "a"*3"b" is one text
    for (std::size_t i = 0; i < text.size() && text[i] != '#'; ++i) {
        const std::size_t end = std::min(text.find_first_of(" \t,\r", i), text.size());
        if (text[i] != '"') {
            line.tokens.emplace_back(text.substr(i, end - i), false);
            line.tokens.back().first.empty() ? line.tokens.pop_back() : void();
            i = end;
            continue;
        }
        const bool glued = i == glueAt;
        std::string token;
        for (++i; text.at(i) != '"'; ++i) {
            const std::string kEscapes("n\nr\rt\t0", 8);
            const char c = text[i] == '\\' ? text.at(++i) : 0;
            token += c == 'x' ? char(std::stoi(text.substr(i + 1, 2), nullptr, 16))
                     : c != 0 && kEscapes.find(c) % 2 == 0 ? kEscapes[kEscapes.find(c) + 1]
                                                           : text[i];
            i += c == 'x' ? 2 : 0;
        }
        std::size_t count = 1, used = 0;  // "ab"*3 is "ababab"
        if (text.compare(i + 1, 1, "*") == 0) {
            count = std::stoul(text.substr(i + 2), &used);
            i += 1 + used;
        }
        std::string repeated;
        while (count-- > 0) {
            repeated += token;
        }
        glued ? void(line.tokens.back().first += repeated)
              : void(line.tokens.emplace_back(repeated, true));
        glueAt = i + 1;
    }
    return line;
}

Table Parse(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    Table table{path, {}, {}, {}};
    std::vector<Line>* lines = file ? &table.header : throw Error("cannot read " + path);
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        const bool define = text.rfind("define ", 0) == 0;
        if (define || text.rfind("scenario: ", 0) == 0) {
            const Block block{text.substr(text.find(' ') + 1), number, {}};
            const std::string name = block.title.substr(0, block.title.find(':'));
            lines = define ? &(table.defines[name] = block).lines
                           : &table.scenarios.emplace_back(block).lines;
            continue;
        }
        try {
            lines->push_back(Tokenize(number, text));
        } catch (const std::exception& e) {
            throw Error(path + ":" + std::to_string(number) + ": bad text (" + e.what() + ")");
        }
        lines->back().tokens.empty() ? lines->pop_back() : void();
    }
    return table;
}

// A value: KEY\NAME, the key zone, settings, HKCU\path or HKLM\path.
struct Ref {
    Root root = Root::kCurrentUser;
    std::string key;
    std::string name;
};

Ref RefOf(const std::string& word, bool isKey = false) {
    const std::string key = isKey ? word : word.substr(0, word.rfind('\\'));
    const std::string name = isKey ? "" : word.substr(word.rfind('\\') + 1);
    const std::string settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    if (key == "zone" || key == "settings") {
        return {Root::kCurrentUser, key == "zone" ? settings + "\\Zones\\3" : settings, name};
    }
    const bool local = key.rfind("HKLM\\", 0) == 0;
    return local || key.rfind("HKCU\\", 0) == 0
               ? Ref{local ? Root::kLocalMachine : Root::kCurrentUser, key.substr(5), name}
               : throw Error("unknown key " + key);
}

// missing, dword N, sz TEXT... (its zero byte added), or raw TYPE PIECE...:
// texts and hex digits, the bytes exactly as stored.
std::optional<RegValue> ValueAt(const Line& line, std::size_t i) {
    const std::string kind = line.Word(i);
    const std::string text = kind == "sz" ? line.Texts(i + 1) + '\0' : "";
    if (kind == "dword") {
        const std::uint32_t n = Number(line.Word(i + 1));
        return RegValue{
            4,
            {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
    } else if (kind == "missing" || kind == "sz") {
        return kind == "sz" ? std::optional(RegValue{1, {text.begin(), text.end()}}) : std::nullopt;
    }
    const std::map<std::string, std::uint32_t> kTypes = {
        {"sz", 1}, {"expand-sz", 2}, {"binary", 3}, {"dword", 4}, {"multi-sz", 7}};
    const std::string type = kind == "raw" ? line.Word(i + 1) : throw Error("bad value " + kind);
    RegValue value{kTypes.count(type) != 0 ? kTypes.at(type) : Number(type), {}};
    for (std::size_t j = i + 2; j < line.Size(); ++j) {
        const auto& [piece, quoted] = line.tokens[j];
        for (std::size_t k = 0; k < piece.size(); k += quoted ? 1 : 2) {
            value.bytes.push_back(static_cast<std::uint8_t>(
                quoted ? piece[k] : std::stoi(piece.substr(k, 2), nullptr, 16)));
        }
    }
    return value;
}

std::string Describe(const std::optional<RegValue>& value) {
    std::string shown = value ? "type " + std::to_string(value->type) + ", " +
                                    std::to_string(value->bytes.size()) + " bytes:"
                              : "missing";
    for (std::size_t i = 0; value && i < value->bytes.size() && i < 40; ++i) {
        shown += " " + std::to_string(value->bytes[i]);
    }
    return shown;
}

const std::map<std::string, int> kControls = {
    {"script.ask", 1000},    {"script.on", 1001},   {"script.off", 1002},
    {"applet.ask", 1003},    {"applet.on", 1004},   {"applet.off", 1005},
    {"java.high", 1006},     {"java.medium", 1007}, {"java.low", 1008},
    {"java.off", 1009},      {"proxy", 1011},       {"server", 1012},
    {"cookies.ask", 1013},   {"cookies.on", 1014},  {"cookies.off", 1015},
    {"session.ask", 1016},   {"session.on", 1017},  {"session.off", 1018},
    {"local", 1019},         {"exclusions", 1020},  {"set-exclusions", 1021},
    {"set-server", 1022},    {"all-on", 1025},      {"all-off", 1026},
    {"standard", 1027},      {"about", 1028},       {"delete-files", 1029},
    {"delete-cookies", 1030}};

int ControlId(const std::string& word) {
    return kControls.count(word) != 0 ? kControls.at(word) : throw Error("no control " + word);
}

std::string Join(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += "\n  " + text;
    }
    return joined.empty() ? " nothing" : joined;
}

class Runner {
  public:
    Runner(const Table& table, const Block& scenario, Drivers drivers)
        : table_(table), scenario_(scenario), drivers_(std::move(drivers)) {}

    void Go() {
        try {
            drivers_.machine->Clean();
            for (const Line& line : table_.header) {
                for (std::size_t i = 1; line.Word(0) == "watch" && i < line.Size(); ++i) {
                    model_[Fold(line.Word(i))] = {RefOf(line.Word(i)), std::nullopt};
                }
            }
            const std::vector<Line>& lines = scenario_.lines;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                line_ = lines[i].number;
                i = Do(lines, i);
            }
            Settle();
        } catch (const std::exception& e) {
            ADD_FAILURE_AT(table_.path.c_str(), line_) << "cannot run this line: " << e.what();
        }
    }

  private:
    static std::string Fold(std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }
    void Expect(bool ok, const std::string& what) {
        if (!ok) {
            ADD_FAILURE_AT(table_.path.c_str(), line_) << what;
        }
    }
    DialogDriver& Dialog() { return drivers_.dialog ? *drivers_.dialog : throw Error("no dialog"); }

    // Every value named, and the cache, hold what the scenario says by now.
    void Settle() {
        for (const auto& [name, expected] : model_) {
            const auto& [ref, value] = expected;
            const auto actual = drivers_.machine->Value(ref.root, ref.key, ref.name);
            Expect(actual == value, name + " is " + Describe(actual) + "; not " + Describe(value));
        }
        std::set<std::string> left;
        for (const CacheEntry& entry : drivers_.machine->CacheEntries()) {
            left.insert(entry.url);
        }
        Expect(left == cache_, "the cache holds" + Join({left.begin(), left.end()}));
    }

    void Given(const Line& line) {
        const std::string what = line.Word(1);
        Machine& machine = *drivers_.machine;
        if (table_.defines.count(what) != 0) {
            for (const Line& given : table_.defines.at(what).lines) {
                Given(given);
            }
        } else if (what == "read-only") {
            machine.MakeReadOnly(RefOf(line.Word(2), true).root, RefOf(line.Word(2), true).key);
        } else if (what == "server.pxy") {
            machine.SetServerList(line.Texts(2));
        } else if (what == "cache") {
            const std::string kind = line.Word(2);
            machine.AddCacheEntry({line.Text(3), kind == "cookie"    ? true
                                                 : kind == "content" ? false
                                                                     : throw Error(kind + "?")});
            cache_.insert(line.Text(3));
        } else {
            const Ref ref = RefOf(line.Word(2) == "=" ? what : throw Error("given what?"));
            model_[Fold(what)] = {ref, ValueAt(line, 3)};
            machine.SetValue(ref.root, ref.key, ref.name, ValueAt(line, 3));
        }
    }

    // Runs the line at i and returns the last line it used: an action that
    // may show something takes the lines after it that list what it shows.
    std::size_t Do(const std::vector<Line>& lines, std::size_t i) {
        const Line& line = lines[i];
        const std::string verb = line.Word(0);
        const std::set<std::string> kActions = {"given", "type",  "close",          "run",
                                                "open",  "click", "system-command", "press"};
        if (kActions.count(verb) != 0) {
            Settle();  // the step before is over
        }
        if (verb == "given") {
            Given(line);
        } else if (verb == "type") {
            Dialog().Type(ControlId(line.Word(1)), line.Texts(2));
        } else if (verb == "close") {
            const std::map<std::string, CloseBy> kHow = {{"Esc", CloseBy::kEsc},
                                                         {"Enter", CloseBy::kEnter},
                                                         {"close-box", CloseBy::kCloseBox}};
            Expect(Dialog().Close(kHow.at(line.Word(2))), "the program did not end");
        } else if (verb == "stdin") {
            stdin_ = line.Texts(1);
        } else if (verb == "run") {
            std::vector<std::string> args;
            for (std::size_t a = 1; a < line.Size(); ++a) {
                args.push_back(line.tokens[a].first);
            }
            cli_ = (drivers_.cli ? *drivers_.cli : throw Error("no console")).Run(args, stdin_);
            stdin_.clear();
        } else if (kActions.count(verb) != 0) {
            return Show(lines, i);
        } else {
            Check(line);
        }
        return i;
    }

    // What an action showed is exactly what the lines after it list: box KIND
    // "TEXT" [-> ANSWER] [xN], dialog "CAPTION", help viewer.
    std::size_t Show(const std::vector<Line>& lines, std::size_t i) {
        const std::map<std::string, unsigned> kKinds = {
            {"OK", 0},     {"OK/Cancel", 1},     {"Yes/No", 4},
            {"OK!", 0x30}, {"OK/Cancel!", 0x31}, {"Yes/No!", 0x34}};
        const std::map<std::string, int> kAnswers = {
            {"OK", 1}, {"Cancel", 2}, {"Yes", 6}, {"No", 7}};
        const auto box = [](unsigned type, const std::string& text, const std::string& caption) {
            return "box " + std::to_string(type) + " \"" + text + "\" captioned " + caption;
        };
        std::vector<std::string> expected;
        std::vector<int> answers;
        std::size_t last = i + 1;
        for (; last < lines.size(); ++last) {
            const Line& next = lines[last];
            line_ = next.number;
            const std::string verb = next.Word(0);
            if (verb == "dialog" || verb == "help") {
                expected.push_back(verb == "help" ? "help viewer" : "dialog " + next.Text(1));
                continue;
            }
            const bool answered = next.Word(3) == "->";
            const std::string times = next.Word(answered ? 5 : 3);
            if (verb != "box") {
                break;
            }
            for (std::uint32_t n = times.empty() ? 1 : Number(times.substr(1)); n > 0; --n) {
                const unsigned type = kKinds.at(next.Word(1));
                expected.push_back(box(type, next.Text(2), "Vormet"));
                answers.push_back(answered ? kAnswers.at(next.Word(4)) : type & 4 ? 6 : 1);
            }
        }
        const Line& line = lines[i];
        line_ = line.number;
        const std::string verb = line.Word(0);
        const Shown shown = verb == "open"    ? Dialog().Open(answers)
                            : verb == "click" ? Dialog().Click(ControlId(line.Word(1)), answers)
                            : verb == "press"
                                ? (line.Word(1) == "F1" ? Dialog().PressF1() : throw Error("F1?"))
                                : Dialog().SystemCommand(Number(line.Word(1)), answers);
        std::vector<std::string> actual;
        for (const Box& shownBox : shown.boxes) {
            actual.push_back(box(shownBox.type, shownBox.text, shownBox.caption));
        }
        for (const std::string& caption : shown.dialogs) {
            actual.push_back("dialog " + caption);
        }
        if (shown.help) {
            actual.push_back("help viewer");
        }
        Expect(actual == expected, "shown:" + Join(actual) + "\nexpected:" + Join(expected));
        return last - 1;
    }

    void Check(const Line& line) {
        const std::string verb = line.Word(0);
        std::vector<std::string> words, texts;
        for (std::size_t i = 1; i < line.Size(); ++i) {
            (line.tokens[i].second ? texts : words).push_back(line.tokens[i].first);
        }
        if (verb == "stored") {
            const Ref ref = RefOf(line.Word(2) == "=" ? line.Word(1) : throw Error("stored?"));
            model_[Fold(line.Word(1))] = {ref, ValueAt(line, 3)};
        } else if (verb == "cache") {
            cache_ = {texts.begin(), texts.end()};
        } else if (verb == "checked") {
            for (const std::string& word : words) {
                Expect(word == "none" || kControls.count(word) != 0, "no control " + word);
            }
            for (const auto& [name, id] : kControls) {
                const bool listed = std::count(words.begin(), words.end(), name) != 0;
                Expect((id > 1011 && (id < 1013 || id > 1019)) || Dialog().Checked(id) == listed,
                       name + (listed ? " is not checked" : " is checked"));
            }
        } else if (verb == "enabled" || verb == "disabled") {
            for (const std::string& word : words) {
                Expect(Dialog().Enabled(ControlId(word)) == (verb == "enabled"),
                       word + " is not " + verb);
            }
        } else if (verb == "text" || verb == "items") {
            const int id = ControlId(line.Word(1));
            const std::vector<std::string> actual =
                verb == "text" ? std::vector{Dialog().Text(id)} : Dialog().Items(id);
            Expect(actual == (verb == "text" ? std::vector{line.Texts(3)} : texts),
                   line.Word(1) + " shows" + Join(actual));
        } else if (verb == "system-menu") {  // system-menu ends separator 0x0010 "TEXT"
            std::vector<MenuItem> expected;
            for (std::size_t i = 2; i < line.Size(); ++i) {
                const bool separator = line.Word(i) == "separator";
                expected.push_back(separator ? MenuItem{}
                                             : MenuItem{Number(line.Word(i)), line.Text(i + 1)});
                i += separator ? 0 : 1;
            }
            const auto menu = Dialog().SystemMenu();
            Expect(menu.size() >= expected.size() &&
                       std::equal(expected.begin(), expected.end(), menu.end() - expected.size()),
                   "the system menu ends otherwise");
        } else if (verb == "minimized") {  // minimized shows the icon
            Expect(Dialog().MinimizedShowsIcon(), "minimized, the window shows no icon");
        } else if (verb == "exit") {
            Expect(cli_.exitCode == static_cast<int>(Number(line.Word(1))),
                   "exit code " + std::to_string(cli_.exitCode));
        } else if (verb == "out" || verb == "err") {
            const std::string& actual = verb == "out" ? cli_.out : cli_.err;
            Expect(actual == line.Texts(1), verb + " was \"" + actual + "\"");
        } else {
            throw Error("unknown line");
        }
    }

    const Table& table_;
    const Block& scenario_;
    Drivers drivers_;
    std::map<std::string, std::pair<Ref, std::optional<RegValue>>> model_;  // by folded name
    std::set<std::string> cache_;
    std::string stdin_;
    CliRun cli_;
    int line_ = 0;
};

}  // namespace

void RegisterScenarios(const std::string& suite, const std::string& path, DriversFactory make) {
    std::shared_ptr<const Table> table;
    std::string error;
    try {
        table = std::make_shared<const Table>(Parse(path));
    } catch (const std::exception& e) {
        error = e.what();
    }
    for (std::size_t i = 0; i < (table ? table->scenarios.size() : 1); ++i) {
        struct Test : ::testing::Test {
            std::function<void()> body;
            void TestBody() override { body(); }
        };
        // The title as the test's name: its words run together, capitalised.
        std::string name = table ? "" : "Table";
        for (std::size_t c = 0; table && c < table->scenarios[i].title.size(); ++c) {
            const std::string& title = table->scenarios[i].title;
            if (std::isalnum(static_cast<unsigned char>(title[c])) != 0) {
                const bool first =
                    c == 0 || std::isalnum(static_cast<unsigned char>(title[c - 1])) == 0;
                name += first
                            ? static_cast<char>(std::toupper(static_cast<unsigned char>(title[c])))
                            : title[c];
            }
        }
        ::testing::RegisterTest(suite.c_str(), name.c_str(), nullptr, nullptr, path.c_str(),
                                table ? table->scenarios[i].number : 1, [=]() -> ::testing::Test* {
                                    auto* test = new Test;
                                    test->body = [=] {
                                        if (!table) {
                                            FAIL() << error;
                                        }
                                        Runner(*table, table->scenarios[i], make()).Go();
                                    };
                                    return test;
                                });
    }
}

}  // namespace scenario
