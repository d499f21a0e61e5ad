#include "tests/scenario/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
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

std::string Fold(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

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
            i == end ? void() : void(line.tokens.emplace_back(text.substr(i, end - i), false));
            i = end;
            continue;
        }
        const std::size_t start = i;
        std::string token;
        for (const std::string escapes("n\nr\rt\t0", 8); text.at(++i) != '"';) {
            const char c = text[i] == '\\' ? text.at(++i) : 0;
            token += c == 'x' ? char(std::stoi(text.substr(i + 1, 2), nullptr, 16))
                     : c != 0 && escapes.find(c) % 2 == 0 ? escapes[escapes.find(c) + 1]
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
        start == glueAt ? void(line.tokens.back().first += repeated)
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
            lines =
                define
                    ? &(table.defines[block.title.substr(0, block.title.find(':'))] = block).lines
                    : &table.scenarios.emplace_back(block).lines;
        } else {
            try {
                lines->push_back(Tokenize(number, text));
            } catch (const std::exception& e) {
                throw Error(path + ":" + std::to_string(number) + ": bad text (" + e.what() + ")");
            }
            lines->back().tokens.empty() ? lines->pop_back() : void();
        }
    }
    return table;
}

// A value, KEY\NAME, or a key: zone, settings, HKCU\path or HKLM\path.
struct Ref {
    Root root = Root::kCurrentUser;
    std::string key;
    std::string name;
};

Ref RefOf(const std::string& word, bool isKey = false) {
    const std::string key = word.substr(0, isKey ? word.size() : word.rfind('\\'));
    const std::string name = isKey ? "" : word.substr(word.rfind('\\') + 1);
    const std::string settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    const bool local = key.rfind("HKLM\\", 0) == 0;
    return key == "zone" || key == "settings"
               ? Ref{Root::kCurrentUser, key == "zone" ? settings + "\\Zones\\3" : settings, name}
           : local || key.rfind("HKCU\\", 0) == 0
               ? Ref{local ? Root::kLocalMachine : Root::kCurrentUser, key.substr(5), name}
               : throw Error("unknown key " + key);
}

// missing, dword N, sz TEXT... (its zero byte added), or raw TYPE PIECE...
// (texts and hex digits: the bytes exactly as stored).
std::optional<RegValue> ValueAt(const Line& line, std::size_t i) {
    const std::string kind = line.Word(i), text = kind == "sz" ? line.Texts(i + 1) + '\0' : "";
    const std::uint32_t n = kind == "dword" ? Number(line.Word(i + 1)) : 0;
    if (kind == "missing" || kind == "sz" || kind == "dword") {
        return kind == "missing" ? std::nullopt
               : kind == "sz"    ? std::optional(RegValue{1, {text.begin(), text.end()}})
                                 : RegValue{4,
                                         {std::uint8_t(n), std::uint8_t(n >> 8),
                                             std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
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

// The controls by their ids, from 1000 on ("-": no control).
std::string ControlName(int id) {
    std::istringstream names(
        "script.ask script.on script.off applet.ask applet.on applet.off java.high java.medium "
        "java.low java.off - proxy server cookies.ask cookies.on cookies.off session.ask "
        "session.on session.off local exclusions set-exclusions set-server - - all-on all-off "
        "standard about delete-files delete-cookies");
    std::string name;
    for (int i = 1000; i <= id; ++i) {
        names >> name;
    }
    return name;
}

int ControlId(const std::string& word) {
    for (int id = 1000; id <= 1030; ++id) {
        if (word == ControlName(id) && word != "-") {
            return id;
        }
    }
    throw Error("no control " + word);
}

std::string Join(const std::deque<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += "\n  " + text;
    }
    return joined.empty() ? " nothing" : joined;
}

class Runner {
  public:
    Runner(const Table& table, const Block& scenario, Drivers drivers)
        : table_(table), drivers_(std::move(drivers)) {
        try {
            drivers_.machine->Clean();
            for (const Line& line : table_.header) {
                for (std::size_t i = 1; line.Word(0) == "watch" && i < line.Size(); ++i) {
                    model_[Fold(line.Word(i))] = {RefOf(line.Word(i)), std::nullopt};
                }
            }
            for (const Line& line : scenario.lines) {
                line_ = line.number;
                Do(line);
            }
            Settle();
        } catch (const std::exception& e) {
            Expect(false, std::string("cannot run this line: ") + e.what());
        }
    }

  private:
    void Expect(bool ok, const std::string& what) {
        if (!ok) {
            ADD_FAILURE_AT(table_.path.c_str(), line_) << what;
        }
    }
    DialogDriver& Dialog() { return drivers_.dialog ? *drivers_.dialog : throw Error("no dialog"); }

    // Every value named, and the cache, hold what the scenario says by now.
    void Settle() {
        std::swap(line_, shownAt_);
        Expect(shown_.empty(), "shown, not listed:" + Join(shown_));
        std::swap(line_, shownAt_);
        shown_.clear();
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
        const std::string what = line.Word(1), kind = line.Word(2);
        Machine& machine = *drivers_.machine;
        if (table_.defines.count(what) != 0) {
            for (const Line& given : table_.defines.at(what).lines) {
                Given(given);
            }
        } else if (what == "read-only") {
            machine.MakeReadOnly(RefOf(kind, true).root, RefOf(kind, true).key);
        } else if (what == "server.pxy") {
            machine.SetServerList(line.Texts(2));
        } else if (what == "cache") {
            machine.AddCacheEntry({line.Text(3), kind == "cookie"    ? true
                                                 : kind == "content" ? false
                                                                     : throw Error(kind + "?")});
            cache_.insert(line.Text(3));
        } else {
            Assign(line, true);
        }
    }

    // given|stored VALUE... = ...: the values hold that now, and a given one is
    // stored so.
    void Assign(const Line& line, bool given) {
        std::size_t equals = 2;
        while (line.Word(equals) != "=") {
            equals < line.Size() ? ++equals : throw Error("no =");
        }
        for (std::size_t i = 1; i < equals; ++i) {
            const Ref ref = RefOf(line.Word(i));
            model_[Fold(line.Word(i))] = {ref, ValueAt(line, equals + 1)};
            given
                ? drivers_.machine->SetValue(ref.root, ref.key, ref.name, ValueAt(line, equals + 1))
                : void();
        }
    }

    // Runs a line. An action that may show something is answered as its line
    // says after "->" (else by each box's first button); the lines after it
    // list, in order, everything it showed: box KIND "TEXT" [xN], dialog
    // "CAPTION", help viewer.
    void Do(const Line& line) {
        const std::string verb = line.Word(0);
        const std::set<std::string> kShowing = {"open", "click", "system-command", "press"};
        if (kShowing.count(verb) != 0 || verb == "given" || verb == "type" || verb == "close" ||
            verb == "run") {
            Settle();  // the step before is over
        }
        const std::map<std::string, unsigned> kKinds = {
            {"OK", 0},     {"OK/Cancel", 1},     {"Yes/No", 4},
            {"OK!", 0x30}, {"OK/Cancel!", 0x31}, {"Yes/No!", 0x34}};
        const std::map<std::string, int> kAnswers = {
            {"OK", 1}, {"Cancel", 2}, {"Yes", 6}, {"No", 7}};
        const auto box = [](const Box& b) {
            return "box " + std::to_string(b.type) + " \"" + b.text + "\" captioned " + b.caption;
        };
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
        } else if (kShowing.count(verb) != 0) {
            std::vector<int> answers;
            for (std::size_t i = 1; i < line.Size(); ++i) {
                line.Word(i - 1) == "->" || !answers.empty()
                    ? answers.push_back(kAnswers.at(line.Word(i)))
                    : void();
            }
            const Shown shown =
                verb == "open"    ? Dialog().Open(answers)
                : verb == "click" ? Dialog().Click(ControlId(line.Word(1)), answers)
                : verb == "press" ? (line.Word(1) == "F1" ? Dialog().PressF1() : throw Error("F1?"))
                                  : Dialog().SystemCommand(Number(line.Word(1)), answers);
            for (const Box& b : shown.boxes) {
                shown_.push_back(box(b));
            }
            for (const std::string& caption : shown.dialogs) {
                shown_.push_back("dialog " + caption);
            }
            shown.help ? shown_.push_back("help viewer") : void();
            shownAt_ = line.number;
        } else if (verb == "box" || verb == "dialog" || verb == "help") {
            const std::string times = line.Word(3);
            for (std::uint32_t n = times.empty() ? 1 : Number(times.substr(1)); n > 0; --n) {
                const std::string expected =
                    verb == "box"      ? box({line.Text(2), kKinds.at(line.Word(1)), "Vormet"})
                    : verb == "dialog" ? "dialog " + line.Text(1)
                                       : "help viewer";
                Expect(!shown_.empty() && shown_.front() == expected,
                       "not shown: " + expected + "\nshown:" + Join(shown_));
                shown_.empty() ? void() : shown_.pop_front();
            }
        } else {
            Check(line);
        }
    }

    void Check(const Line& line) {
        const std::string verb = line.Word(0);
        std::vector<std::string> words, texts;
        for (std::size_t i = 1; i < line.Size(); ++i) {
            (line.tokens[i].second ? texts : words).push_back(line.tokens[i].first);
        }
        if (verb == "stored") {
            Assign(line, false);
        } else if (verb == "cache") {
            cache_ = {texts.begin(), texts.end()};
        } else if (verb == "checked") {  // exactly these of the radio buttons and check boxes
            for (const std::string& word : words) {
                if (word != "none") {
                    ControlId(word);  // names no control: an error in the table
                }
            }
            for (int id = 1000; id <= 1019; ++id) {
                const bool listed = std::count(words.begin(), words.end(), ControlName(id));
                Expect(id == 1010 || id == 1012 || Dialog().Checked(id) == listed,
                       ControlName(id) + (listed ? " is not checked" : " is checked"));
            }
        } else if (verb == "enabled" || verb == "disabled") {
            for (const std::string& word : words) {
                Expect(Dialog().Enabled(ControlId(word)) == (verb == "enabled"),
                       word + " is not " + verb);
            }
        } else if (verb == "text" || verb == "items") {
            const int id = ControlId(line.Word(1));
            const auto actual =
                verb == "text" ? std::vector{Dialog().Text(id)} : Dialog().Items(id);
            Expect(actual == (verb == "text" ? std::vector{line.Texts(3)} : texts),
                   line.Word(1) + " shows" + Join({actual.begin(), actual.end()}));
        } else if (verb == "exit" || verb == "out" || verb == "err") {
            const std::string actual = verb == "exit"  ? std::to_string(cli_.exitCode)
                                       : verb == "out" ? cli_.out
                                                       : cli_.err;
            Expect(actual == (verb == "exit" ? line.Word(1) : line.Texts(1)), verb + ": " + actual);
        } else {
            throw Error("unknown line");
        }
    }

    const Table& table_;
    Drivers drivers_;
    std::map<std::string, std::pair<Ref, std::optional<RegValue>>> model_;  // by folded name
    std::set<std::string> cache_;
    std::deque<std::string> shown_;  // what the last action showed, not yet listed
    std::string stdin_;
    CliRun cli_;
    int line_ = 0;
    int shownAt_ = 0;
};

}  // namespace

void RegisterScenarios(const std::string& suite, const std::string& path, DriversFactory make) {
    const auto table = std::make_shared<const Table>(Parse(path));
    for (std::size_t i = 0; i < table->scenarios.size(); ++i) {
        struct Test : ::testing::Test {
            std::function<void()> body;
            void TestBody() override { body(); }
        };
        // The title as the test's name: its words run together, capitalised.
        std::string name;
        const std::string& title = table->scenarios[i].title;
        for (std::size_t c = 0; c < title.size(); ++c) {
            const bool first =
                c == 0 || std::isalnum(static_cast<unsigned char>(title[c - 1])) == 0;
            if (std::isalnum(static_cast<unsigned char>(title[c])) != 0) {
                name += first ? char(std::toupper(static_cast<unsigned char>(title[c]))) : title[c];
            }
        }
        ::testing::RegisterTest(suite.c_str(), name.c_str(), nullptr, nullptr, path.c_str(),
                                table->scenarios[i].number, [=]() -> ::testing::Test* {
                                    auto* test = new Test;
                                    test->body = [=] {
                                        Runner(*table, table->scenarios[i], make());
                                    };
                                    return test;
                                });
    }
}

}  // namespace scenario
