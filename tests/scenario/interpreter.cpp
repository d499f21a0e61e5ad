#include "tests/scenario/interpreter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace scenario {
namespace {

using Error = std::runtime_error;

// A word, or a quoted text with its escapes resolved and its repeat applied.
struct Token {
    std::string text;
    bool quoted = false;
};

struct Line {
    int number = 0;
    std::vector<Token> tokens;
    std::size_t Size() const { return tokens.size(); }
    // The word at i; empty past the end, and a text is no word.
    std::string Word(std::size_t i) const {
        return i < Size() && !tokens[i].quoted ? tokens[i].text : std::string();
    }
    std::string Text(std::size_t i) const {
        return i < Size() && tokens[i].quoted ? tokens[i].text : throw Error("a text is missing");
    }
    // The texts from i on, joined.
    std::string Texts(std::size_t i) const {
        std::string joined;
        for (; i < Size(); ++i) {
            joined += Text(i);
        }
        return joined;
    }
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

std::vector<Token> Tokenize(const std::string& text) {
    const char* const kSpace = " \t,\r";
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < text.size() && text[i] != '#'; ++i) {
        Token token{"", text[i] == '"'};
        if (!token.quoted) {
            const std::size_t end = std::min(text.find_first_of(kSpace, i), text.size());
            token.text = text.substr(i, end - i);
            i = end;
        }
        for (i += token.quoted ? 1 : 0; token.quoted && text.at(i) != '"'; ++i) {
            const std::string kEscapes = std::string("n\nr\rt\t0\0", 8);
            const char c = text[i] == '\\' ? text.at(++i) : 0;
            token.text += c == 'x' ? char(std::stoi(text.substr(i + 1, 2), nullptr, 16))
                          : c != 0 && kEscapes.find(c) % 2 == 0 ? kEscapes[kEscapes.find(c) + 1]
                                                                : text[i];
            i += c == 'x' ? 2 : 0;
        }
        if (token.quoted && text.compare(i + 1, 1, "*") == 0) {  // "ab"*3 is "ababab"
            std::size_t used = 0;
            std::string once;
            std::swap(once, token.text);
            for (unsigned long n = std::stoul(text.substr(i + 2), &used); n > 0; --n) {
                token.text += once;
            }
            i += 1 + used;
        }
        if (!token.text.empty() || token.quoted) {
            tokens.push_back(token);
        }
    }
    return tokens;
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
            continue;
        }
        try {
            lines->push_back({number, Tokenize(text)});
        } catch (const std::exception& e) {
            throw Error(path + ":" + std::to_string(number) + ": bad text (" + e.what() + ")");
        }
        if (lines->back().tokens.empty()) {
            lines->pop_back();
        }
    }
    return table;
}

// A registry value: KEY\NAME, the key an alias or HKCU\path or HKLM\path.
struct Ref {
    Root root = Root::kCurrentUser;
    std::string key;
    std::string name;
};

Ref KeyOf(const std::string& word) {
    const std::string settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    if (word == "zone" || word == "settings") {
        return {Root::kCurrentUser, word == "zone" ? settings + "\\Zones\\3" : settings, ""};
    }
    const bool local = word.rfind("HKLM\\", 0) == 0;
    return local || word.rfind("HKCU\\", 0) == 0
               ? Ref{local ? Root::kLocalMachine : Root::kCurrentUser, word.substr(5), ""}
               : throw Error("unknown key " + word);
}

Ref RefOf(const std::string& word) {
    Ref ref = KeyOf(word.substr(0, word.rfind('\\')));
    ref.name = word.substr(word.rfind('\\') + 1);
    return ref;
}

std::string IdOf(const Ref& ref) {
    std::string id = (ref.root == Root::kCurrentUser ? "HKCU\\" : "HKLM\\") + ref.key + "\\";
    for (char& c : id) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return id + ref.name;
}

// "missing", "dword N", "sz TEXT..." (its zero byte added), or "raw TYPE
// PIECE..." with pieces of texts and hex digits, the bytes exactly as stored.
std::optional<RegValue> ValueAt(const Line& line, std::size_t i) {
    const std::string kind = line.Word(i);
    if (kind == "dword") {
        const std::uint32_t n = Number(line.Word(i + 1));
        return RegValue{
            4,
            {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
    }
    const std::string text = kind == "sz" ? line.Texts(i + 1) + '\0' : "";
    if (kind == "missing" || kind == "sz") {
        return kind == "sz" ? std::optional(RegValue{1, {text.begin(), text.end()}}) : std::nullopt;
    }
    static const std::map<std::string, std::uint32_t> kTypes = {
        {"sz", 1}, {"expand-sz", 2}, {"binary", 3}, {"dword", 4}, {"multi-sz", 7}};
    const std::string type = kind == "raw" ? line.Word(i + 1) : throw Error("bad value " + kind);
    RegValue value{kTypes.count(type) != 0 ? kTypes.at(type) : Number(type), {}};
    for (std::size_t j = i + 2; j < line.Size(); ++j) {
        const Token& piece = line.tokens[j];
        for (std::size_t k = 0; k < piece.text.size(); k += piece.quoted ? 1 : 2) {
            value.bytes.push_back(static_cast<std::uint8_t>(
                piece.quoted ? piece.text[k] : std::stoi(piece.text.substr(k, 2), nullptr, 16)));
        }
    }
    return value;
}

std::string Describe(const std::optional<RegValue>& value) {
    if (!value) {
        return "missing";
    }
    std::string shown;
    for (std::size_t i = 0; i < value->bytes.size() && i < 40; ++i) {
        const unsigned char c = value->bytes[i];
        shown += c >= 0x20 && c < 0x7F ? std::string(1, char(c))
                                       : "\\x" + std::string(1, "0123456789ABCDEF"[c >> 4]) +
                                             "0123456789ABCDEF"[c & 15];
    }
    return "type " + std::to_string(value->type) + ", " + std::to_string(value->bytes.size()) +
           " bytes \"" + shown + "\"";
}

const std::pair<const char*, int> kControls[] = {
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
    for (const auto& [name, id] : kControls) {
        if (word == name) {
            return id;
        }
    }
    throw Error("unknown control " + word);
}

std::string Join(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += "\n  " + text;
    }
    return joined.empty() ? " nothing" : joined;
}

std::string BoxText(const Box& box) {
    return "box " + std::to_string(box.type) + " \"" + box.text + "\" caption \"" + box.caption +
           "\"";
}

class Runner {
  public:
    Runner(const Table& table, const Block& scenario, Drivers drivers)
        : table_(table), scenario_(scenario), drivers_(std::move(drivers)) {}

    void Go() {
        try {
            drivers_.machine->Clean();
            for (const Line& line : table_.header) {
                line_ = line.number;
                for (std::size_t i = 1; line.Word(0) == "watch" && i < line.Size(); ++i) {
                    const Ref ref = RefOf(line.Word(i));
                    model_[IdOf(ref)] = {ref, std::nullopt};
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
    void Expect(bool ok, const std::string& what) {
        if (!ok) {
            ADD_FAILURE_AT(table_.path.c_str(), line_) << what;
        }
    }
    DialogDriver& Dialog() { return drivers_.dialog ? *drivers_.dialog : throw Error("no dialog"); }

    // Every value named, and the cache, hold what the scenario says by now.
    void Settle() {
        for (const auto& [id, expected] : model_) {
            const auto& [ref, value] = expected;
            const auto actual = drivers_.machine->Value(ref.root, ref.key, ref.name);
            Expect(actual == value, id + " is " + Describe(actual) + ", not " + Describe(value));
        }
        std::set<std::string> left;
        for (const CacheEntry& entry : drivers_.machine->CacheEntries()) {
            left.insert(entry.url);
        }
        Expect(left == cache_, "the cache holds" + Join({left.begin(), left.end()}));
    }

    void Given(const Line& line) {
        const std::string what = line.Word(1);
        if (table_.defines.count(what) != 0) {
            for (const Line& given : table_.defines.at(what).lines) {
                Given(given);
            }
        } else if (what == "read-only") {
            const Ref key = KeyOf(line.Word(2));
            drivers_.machine->MakeReadOnly(key.root, key.key);
        } else if (what == "server.pxy") {
            drivers_.machine->SetServerList(line.Texts(2));
        } else if (what == "cache") {
            const std::string kind = line.Word(2);
            drivers_.machine->AddCacheEntry({line.Text(3), kind == "cookie" ? true
                                                           : kind == "content"
                                                               ? false
                                                               : throw Error(kind)});
            cache_.insert(line.Text(3));
        } else {
            const Ref ref = RefOf(line.Word(2) == "=" ? what : throw Error("given what?"));
            model_[IdOf(ref)] = {ref, ValueAt(line, 3)};
            drivers_.machine->SetValue(ref.root, ref.key, ref.name, ValueAt(line, 3));
        }
    }

    // Runs the line at i; returns the last line it used.
    std::size_t Do(const std::vector<Line>& lines, std::size_t i) {
        const Line& line = lines[i];
        const std::string verb = line.Word(0);
        const std::set<std::string> kShowing = {"open", "click", "system-command", "press"};
        if (kShowing.count(verb) != 0 || verb == "given" || verb == "type" || verb == "close" ||
            verb == "run") {
            Settle();  // the step before is over
        }
        if (verb == "given") {
            Given(line);
        } else if (verb == "type") {
            Dialog().Type(ControlId(line.Word(1)), line.Texts(2));
        } else if (verb == "close") {
            const std::string how = line.Word(2);
            const bool ended = Dialog().Close(
                how == "Esc"         ? CloseBy::kEsc
                : how == "Enter"     ? CloseBy::kEnter
                : how == "close-box" ? CloseBy::kCloseBox
                                     : throw Error("close by Esc, Enter or close-box"));
            Expect(ended, "the program did not end");
        } else if (verb == "stdin") {
            stdin_ = line.Texts(1);
        } else if (verb == "run") {
            std::vector<std::string> args;
            for (std::size_t a = 1; a < line.Size(); ++a) {
                args.push_back(line.tokens[a].text);
            }
            cli_ = (drivers_.cli ? *drivers_.cli : throw Error("no console")).Run(args, stdin_);
            stdin_.clear();
        } else if (kShowing.count(verb) != 0) {
            return Step(lines, i);
        } else {
            Check(line);
        }
        return i;
    }

    // An action, then what it showed: exactly what the lines after it list
    // (box KIND "TEXT" [-> ANSWER] [xN], dialog "CAPTION", help viewer).
    std::size_t Step(const std::vector<Line>& lines, std::size_t i) {
        static const std::map<std::string, unsigned> kKinds = {
            {"OK", 0},     {"OK/Cancel", 1},     {"Yes/No", 4},
            {"OK!", 0x30}, {"OK/Cancel!", 0x31}, {"Yes/No!", 0x34}};
        static const std::map<std::string, int> kAnswers = {
            {"OK", 1}, {"Cancel", 2}, {"Yes", 6}, {"No", 7}};
        std::vector<std::string> expected;
        std::vector<int> answers;
        std::size_t last = i + 1;
        for (; last < lines.size(); ++last) {
            const Line& next = lines[last];
            line_ = next.number;
            if (next.Word(0) == "box") {
                const Box box{next.Text(2), kKinds.at(next.Word(1)), "Vormet"};
                const bool answered = next.Word(3) == "->";
                const std::string times = next.Word(answered ? 5 : 3);
                for (std::uint32_t n = times.empty() ? 1 : Number(times.substr(1)); n > 0; --n) {
                    expected.push_back(BoxText(box));
                    answers.push_back(answered ? kAnswers.at(next.Word(4)) : box.type & 4 ? 6 : 1);
                }
            } else if (next.Word(0) == "dialog" || next.Word(0) == "help") {
                expected.push_back(next.Word(0) == "help" ? "help viewer"
                                                          : "dialog \"" + next.Text(1) + "\"");
            } else {
                break;
            }
        }
        const Line& line = lines[i];
        line_ = line.number;
        const std::string verb = line.Word(0);
        const Shown shown =
            verb == "open"    ? Dialog().Open(answers)
            : verb == "click" ? Dialog().Click(ControlId(line.Word(1)), answers)
            : verb == "press" ? (line.Word(1) == "F1" ? Dialog().PressF1() : throw Error("F1 only"))
                              : Dialog().SystemCommand(Number(line.Word(1)), answers);
        std::vector<std::string> actual;
        for (const Box& box : shown.boxes) {
            actual.push_back(BoxText(box));
        }
        for (const std::string& caption : shown.dialogs) {
            actual.push_back("dialog \"" + caption + "\"");
        }
        if (shown.help) {
            actual.push_back("help viewer");
        }
        Expect(actual == expected, "shown:" + Join(actual) + "\nexpected:" + Join(expected));
        return last - 1;
    }

    void Check(const Line& line) {
        const std::string verb = line.Word(0);
        if (verb == "stored") {
            const Ref ref = RefOf(line.Word(2) == "=" ? line.Word(1) : throw Error("stored what?"));
            model_[IdOf(ref)] = {ref, ValueAt(line, 3)};
        } else if (verb == "cache") {
            cache_.clear();
            for (std::size_t i = 1; line.Word(1) != "empty" && i < line.Size(); ++i) {
                cache_.insert(line.Text(i));
            }
        } else if (verb == "checked") {
            std::set<int> expected;
            for (std::size_t i = 1; line.Word(1) != "none" && i < line.Size(); ++i) {
                expected.insert(ControlId(line.Word(i)));
            }
            for (const auto& [name, id] : kControls) {
                const bool checkable = id <= 1011 || (id >= 1013 && id <= 1019);
                Expect(!checkable || Dialog().Checked(id) == (expected.count(id) != 0),
                       std::string(name) + (expected.count(id) != 0 ? " unchecked" : " checked"));
            }
        } else if (verb == "enabled" || verb == "disabled") {
            for (std::size_t i = 1; i < line.Size(); ++i) {
                Expect(Dialog().Enabled(ControlId(line.Word(i))) == (verb == "enabled"),
                       line.Word(i) + " is not " + verb);
            }
        } else if (verb == "text") {
            const std::string actual = Dialog().Text(ControlId(line.Word(1)));
            Expect(actual == line.Texts(3), line.Word(1) + " shows " +
                                                std::to_string(actual.size()) + " bytes \"" +
                                                actual.substr(0, 80) + "\"");
        } else if (verb == "items") {
            std::vector<std::string> expected;
            for (std::size_t i = 3; i < line.Size(); ++i) {
                expected.push_back(line.Text(i));
            }
            const auto actual = Dialog().Items(ControlId(line.Word(1)));
            Expect(actual == expected, line.Word(1) + " lists" + Join(actual));
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

class ScenarioTest : public ::testing::Test {
  public:
    ScenarioTest(std::shared_ptr<const Table> table, std::size_t index, DriversFactory make,
                 std::string error)
        : table_(std::move(table)), index_(index), make_(std::move(make)), error_(error) {}
    void TestBody() override {
        if (!table_) {
            FAIL() << error_;
        }
        Runner(*table_, table_->scenarios[index_], make_()).Go();
    }

  private:
    std::shared_ptr<const Table> table_;
    std::size_t index_;
    DriversFactory make_;
    std::string error_;
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
        // The title as the test's name: its words run together, each capitalised.
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
                                    return new ScenarioTest(table, i, make, error);
                                });
    }
}

}  // namespace scenario
