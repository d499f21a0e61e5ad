#include "tests/scenario/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include "store/registry_paths.h"

namespace scenario {
namespace {

using Error = std::runtime_error;

// --- Reading a table --------------------------------------------------------

struct Token {
    std::string text;
    bool quoted = false;
};

// A line of a table: its words, and its texts with escapes, repeats ("ab"*3)
// and joins ("a""b") resolved.
struct Line {
    int number = 0;
    std::vector<Token> tokens;

    std::size_t Size() const { return tokens.size(); }
    std::string Word(std::size_t i) const {
        return i < Size() && !tokens[i].quoted ? tokens[i].text : "";
    }
    std::string Text(std::size_t i) const {
        if (i >= Size() || !tokens[i].quoted) {
            throw Error("a text is missing");
        }
        return tokens[i].text;
    }
    // The texts from i on, run together.
    std::string Texts(std::size_t i) const {
        std::string texts;
        for (; i < Size(); ++i) {
            texts += Text(i);
        }
        return texts;
    }
};

struct Block {
    std::string title;
    int number = 0;
    bool nativeOnly = false;
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
    if (used != word.size()) {
        throw Error("not a number: " + word);
    }
    return static_cast<std::uint32_t>(n);
}

// The quoted text that starts at text[*i], which is left past its end.
std::string QuotedText(const std::string& text, std::size_t* i) {
    std::string token;
    for (++*i; text.at(*i) != '"'; ++*i) {
        char c = text[*i];
        if (c == '\\') {
            c = text.at(++*i);
            if (c == 'x') {
                c = static_cast<char>(std::stoi(text.substr(*i + 1, 2), nullptr, 16));
                *i += 2;
            } else if (c != '\\' && c != '"') {
                c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : '\0';
            }
        }
        token += c;
    }
    ++*i;
    if (*i < text.size() && text[*i] == '*') {
        std::size_t used = 0;
        const std::size_t count = std::stoul(text.substr(*i + 1), &used);
        std::string repeated;
        for (std::size_t n = 0; n < count; ++n) {
            repeated += token;
        }
        *i += 1 + used;
        return repeated;
    }
    return token;
}

Line Tokenize(int number, const std::string& text) {
    Line line{number, {}};
    bool glued = false;  // the last text ended right here
    for (std::size_t i = 0; i < text.size() && text[i] != '#';) {
        if (text[i] == '"') {
            std::string quoted = QuotedText(text, &i);
            if (glued) {
                line.tokens.back().text += quoted;
            } else {
                line.tokens.push_back({quoted, true});
            }
            glued = true;
            continue;
        }
        glued = false;
        const std::size_t end = std::min(text.find_first_of(" \t\r", i), text.size());
        if (end > i) {
            line.tokens.push_back({text.substr(i, end - i), false});
        }
        i = std::max(end, i + 1);
    }
    return line;
}

Table Parse(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw Error("cannot read " + path);
    }
    Table table{path, {}, {}, {}};
    std::vector<Line>* lines = &table.header;
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        const std::size_t colon = text.find(": ");
        const std::string head = colon == std::string::npos ? "" : text.substr(0, colon);
        if (head == "scenario" || head == "scenario, natively") {
            Block& block = table.scenarios.emplace_back();
            block = {text.substr(colon + 2), number, head != "scenario", {}};
            lines = &block.lines;
        } else if (head.rfind("define ", 0) == 0) {
            Block& block = table.defines[head.substr(7)];
            block = {text.substr(colon + 2), number, false, {}};
            lines = &block.lines;
        } else {
            try {
                Line line = Tokenize(number, text);
                if (!line.tokens.empty()) {
                    lines->push_back(std::move(line));
                }
            } catch (const std::exception& e) {
                throw Error(path + ":" + std::to_string(number) + ": " + e.what());
            }
        }
    }
    return table;
}

// --- Names in the tables ----------------------------------------------------

std::string Fold(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A registry key or value: KEY\NAME, where KEY is one of the names below or
// HKCU\path or HKLM\path.
struct Ref {
    Root root = Root::kCurrentUser;
    std::string key;
    std::string name;
};

Ref KeyOf(const std::string& word) {
    const std::map<std::string, Ref> kKeys = {
        {"zone", {Root::kCurrentUser, kZoneKey, ""}},
        {"settings", {Root::kCurrentUser, kSettingsKey, ""}},
        {"policy", {Root::kLocalMachine, kPolicySettingsKey, ""}},
        {"policy-zone", {Root::kLocalMachine, kPolicyZoneKey, ""}},
        {"user-policy-zone", {Root::kCurrentUser, kPolicyZoneKey, ""}},
    };
    if (kKeys.count(word) != 0) {
        return kKeys.at(word);
    }
    const std::string root = word.substr(0, 5);
    if (root != "HKCU\\" && root != "HKLM\\") {
        throw Error("unknown key " + word);
    }
    return {root == "HKCU\\" ? Root::kCurrentUser : Root::kLocalMachine, word.substr(5), ""};
}

Ref ValueRef(const std::string& word) {
    const std::size_t slash = word.rfind('\\');
    Ref ref = KeyOf(word.substr(0, slash));
    ref.name = word.substr(slash + 1);
    return ref;
}

// missing, dword N, sz TEXT... (its zero byte added), or raw TYPE PIECE...
// (quoted texts and hex digits: the bytes exactly as stored).
std::optional<RegValue> ValueAt(const Line& line, std::size_t i) {
    const std::string kind = line.Word(i);
    if (kind == "missing") {
        return std::nullopt;
    }
    if (kind == "dword") {
        const std::uint32_t n = Number(line.Word(i + 1));
        return RegValue{
            4,
            {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
    }
    if (kind == "sz") {
        const std::string text = line.Texts(i + 1);
        RegValue value{1, {text.begin(), text.end()}};
        value.bytes.push_back(0);
        return value;
    }
    if (kind != "raw") {
        throw Error("unknown value " + kind);
    }
    const std::map<std::string, std::uint32_t> kTypes = {
        {"sz", 1}, {"expand-sz", 2}, {"binary", 3}, {"dword", 4}, {"multi-sz", 7}};
    RegValue value{kTypes.at(line.Word(i + 1)), {}};
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
    std::string shown = "type " + std::to_string(value->type) + ", " +
                        std::to_string(value->bytes.size()) + " bytes:";
    for (std::size_t i = 0; i < value->bytes.size() && i < 40; ++i) {
        shown += " " + std::to_string(value->bytes[i]);
    }
    return shown;
}

// The controls by their ids from 1000 on; "-" is no control.
const char* const kControls[] = {"script.ask",
                                 "script.on",
                                 "script.off",
                                 "applet.ask",
                                 "applet.on",
                                 "applet.off",
                                 "java.high",
                                 "java.medium",
                                 "java.low",
                                 "java.off",
                                 "-",
                                 "proxy",
                                 "server",
                                 "cookies.ask",
                                 "cookies.on",
                                 "cookies.off",
                                 "session.ask",
                                 "session.on",
                                 "session.off",
                                 "local",
                                 "exclusions",
                                 "set-exclusions",
                                 "set-server",
                                 "-",
                                 "-",
                                 "all-on",
                                 "all-off",
                                 "standard",
                                 "about",
                                 "delete-files",
                                 "delete-cookies"};
constexpr int kFirstControl = 1000;
constexpr int kLastCheckable = 1019;

int ControlId(const std::string& word) {
    const auto* found = std::find(std::begin(kControls), std::end(kControls), word);
    if (word == "-" || found == std::end(kControls)) {
        throw Error("no control " + word);
    }
    return kFirstControl + static_cast<int>(found - std::begin(kControls));
}

std::string List(const std::vector<std::string>& texts) {
    std::string list;
    for (const std::string& text : texts) {
        list += "\n  " + text;
    }
    return list.empty() ? " nothing" : list;
}

// --- JSON of the console program ----------------------------------------------

// Reads a JSON text into its leaves by path ("zone.java.setting", with array
// items by index, "proxy.serverList.0"): strings quoted, other literals as
// written. An object or array is recorded at its own path as {N} or [N], its
// count of members. Throws at anything that is not JSON.
class JsonLeaves {
  public:
    explicit JsonLeaves(const std::string& text) : text_(text) {
        Value("");
        Space();
        if (at_ != text_.size()) {
            throw Error("text after the JSON");
        }
    }
    std::map<std::string, std::string> leaves;

  private:
    void Space() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }
    char Next() {
        Space();
        if (at_ >= text_.size()) {
            throw Error("the JSON ends early");
        }
        return text_[at_];
    }
    void Take(char c) {
        if (Next() != c) {
            throw Error(std::string("JSON: expected ") + c + " at " + std::to_string(at_));
        }
        ++at_;
    }
    std::string String() {
        Take('"');
        std::string text;
        for (char c = text_.at(at_++); c != '"'; c = text_.at(at_++)) {
            if (c == '\\') {
                c = text_.at(at_++);
                if (c == 'u') {
                    c = static_cast<char>(std::stoi(text_.substr(at_, 4), nullptr, 16));
                    at_ += 4;
                } else if (c != '"' && c != '\\' && c != '/') {
                    throw Error("JSON: an escape the program never writes");
                }
            }
            text += c;
        }
        return text;
    }
    void Value(const std::string& path) {
        const std::string prefix = path.empty() ? "" : path + ".";
        const char open = Next();
        if (open == '{' || open == '[') {
            ++at_;
            const char close = open == '{' ? '}' : ']';
            std::size_t count = 0;
            while (Next() != close) {
                if (count != 0) {
                    Take(',');
                }
                std::string name = std::to_string(count);
                if (open == '{') {
                    name = String();
                    Take(':');
                }
                Value(prefix + name);
                ++count;
            }
            ++at_;
            leaves[path] = open + std::to_string(count) + close;
        } else if (open == '"') {
            leaves[path] = '"' + String() + '"';
        } else {
            const std::size_t end = std::min(text_.find_first_of(",]} \n", at_), text_.size());
            leaves[path] = text_.substr(at_, end - at_);
            at_ = end;
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

// --- Running a scenario -----------------------------------------------------

class Runner {
  public:
    Runner(const Table& table, const Block& scenario, Drivers drivers)
        : table_(table), drivers_(std::move(drivers)) {
        try {
            drivers_.machine->Clean();
            for (const Line& line : table_.header) {
                for (std::size_t i = 1; line.Word(0) == "watch" && i < line.Size(); ++i) {
                    model_[Fold(line.Word(i))] = {ValueRef(line.Word(i)), std::nullopt};
                }
            }
            for (const Line& line : scenario.lines) {
                line_ = line.number;
                Do(line);
            }
            EndOfStep();
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
    DialogDriver& Dialog() {
        if (!drivers_.dialog) {
            throw Error("no dialog here");
        }
        return *drivers_.dialog;
    }

    // A step is over: all it showed has been listed, and every value named,
    // and the cache, hold what the scenario says by now.
    void EndOfStep() {
        const int line = line_;
        line_ = stepLine_;
        Expect(shown_.empty(), "shown, not listed:" + List({shown_.begin(), shown_.end()}));
        Expect(outListed_ || cli_.out == out_, "printed:\n" + cli_.out);
        Expect(cli_.err == err_, "printed on standard error:\n" + cli_.err);
        Expect(exitListed_ || cli_.exitCode == 0, "exit code " + std::to_string(cli_.exitCode));
        line_ = line;
        exitListed_ = true;
        shown_.clear();
        cli_ = {};
        out_.clear();
        err_.clear();
        outListed_ = false;
        for (const auto& [name, expected] : model_) {
            const auto& [ref, value] = expected;
            const auto actual = drivers_.machine->Value(ref.root, ref.key, ref.name);
            Expect(actual == value, name + " is " + Describe(actual) + ", not " + Describe(value));
        }
        std::vector<std::string> left;
        for (const CacheEntry& entry : drivers_.machine->CacheEntries()) {
            left.push_back(entry.url);
        }
        std::sort(left.begin(), left.end());
        Expect(left == std::vector<std::string>(cache_.begin(), cache_.end()),
               "the cache holds" + List(left));
    }

    void Given(const Line& line) {
        const std::string what = line.Word(1);
        Machine& machine = *drivers_.machine;
        if (table_.defines.count(what) != 0) {
            for (const Line& given : table_.defines.at(what).lines) {
                Given(given);
            }
        } else if (what == "read-only") {
            const Ref ref = KeyOf(line.Word(2));
            machine.MakeReadOnly(ref.root, ref.key);
        } else if (what == "server.pxy") {
            machine.SetServerList(line.Texts(2));
        } else if (what == "cache") {
            const std::string kind = line.Word(2);
            if (kind != "cookie" && kind != "content") {
                throw Error("cookie or content, not " + kind);
            }
            machine.AddCacheEntry({line.Text(3), kind == "cookie"});
            cache_.insert(line.Text(3));
        } else {
            Assign(line, true);
        }
    }

    // given|stored VALUE... = ...: the values hold that now; given ones are
    // stored so first.
    void Assign(const Line& line, bool given) {
        std::size_t equals = 2;
        while (line.Word(equals) != "=") {
            if (++equals >= line.Size()) {
                throw Error("no =");
            }
        }
        const std::optional<RegValue> value = ValueAt(line, equals + 1);
        for (std::size_t i = 1; i < equals; ++i) {
            const Ref ref = ValueRef(line.Word(i));
            model_[Fold(line.Word(i))] = {ref, value};
            if (given) {
                drivers_.machine->SetValue(ref.root, ref.key, ref.name, value);
            }
        }
    }

    // An action of the user: answered as its line says after "->" (else by
    // each box's first button); the lines after it list what it showed.
    void Act(const Line& line) {
        const std::map<std::string, int> kAnswers = {
            {"OK", 1}, {"Cancel", 2}, {"Yes", 6}, {"No", 7}};
        std::vector<int> answers;
        for (std::size_t i = 1; i < line.Size(); ++i) {
            if (!answers.empty() || line.Word(i - 1) == "->") {
                answers.push_back(kAnswers.at(line.Word(i)));
            }
        }
        const std::string verb = line.Word(0);
        Shown shown;
        if (verb == "open") {
            shown = Dialog().Open(answers);
        } else if (verb == "click") {
            shown = Dialog().Click(ControlId(line.Word(1)), answers);
        } else if (verb == "system-command") {
            shown = Dialog().SystemCommand(Number(line.Word(1)), answers);
        } else {
            shown = Dialog().PressF1();
        }
        for (const Box& box : shown.boxes) {
            shown_.push_back(DescribeBox(box));
        }
        for (const std::string& caption : shown.dialogs) {
            shown_.push_back("dialog " + caption);
        }
        if (shown.help) {
            shown_.push_back("help viewer");
        }
    }

    static std::string DescribeBox(const Box& box) {
        return "box " + std::to_string(box.type) + " \"" + box.text + "\" captioned " + box.caption;
    }

    // box KIND "TEXT" [xN] | dialog "CAPTION" | help viewer: the next things
    // the last action showed.
    void Listed(const Line& line) {
        const std::map<std::string, unsigned> kKinds = {
            {"OK", 0},     {"OK/Cancel", 1},     {"Yes/No", 4},
            {"OK!", 0x30}, {"OK/Cancel!", 0x31}, {"Yes/No!", 0x34}};
        const std::string verb = line.Word(0);
        std::string expected = "help viewer";
        if (verb == "box") {
            expected = DescribeBox({line.Text(2), kKinds.at(line.Word(1)), "Vormet"});
        } else if (verb == "dialog") {
            expected = "dialog " + line.Text(1);
        }
        const std::string times = line.Word(3);
        for (std::uint32_t n = times.empty() ? 1 : Number(times.substr(1)); n > 0; --n) {
            Expect(!shown_.empty() && shown_.front() == expected,
                   "not shown: " + expected + "\nshown:" + List({shown_.begin(), shown_.end()}));
            if (!shown_.empty()) {
                shown_.pop_front();
            }
        }
    }

    // run ARG... with the input of the stdin line before it, if any.
    void Run(const Line& line) {
        if (!drivers_.cli) {
            throw Error("no console program here");
        }
        std::vector<std::string> args;
        for (std::size_t i = 1; i < line.Size(); ++i) {
            args.push_back(line.tokens[i].text);
        }
        cli_ = drivers_.cli->Run(args, input_);
        input_.clear();
        exitListed_ = false;
    }

    // exit N | out TEXT | out has TEXT | err TEXT | json PATH = VALUE |
    // notified N: what the last run did. Its out and err lines, each a line
    // of its output, must add up to all it printed, unless its output is
    // JSON or only looked into ("out has"); a run that lists no exit code
    // must have ended with 0.
    void CheckRun(const Line& line) {
        const std::string verb = line.Word(0);
        if (verb == "exit") {
            exitListed_ = true;
            Expect(cli_.exitCode == static_cast<int>(Number(line.Word(1))),
                   "exit code " + std::to_string(cli_.exitCode));
        } else if (verb == "out" && line.Word(1) == "has") {
            outListed_ = true;
            Expect(cli_.out.find(line.Texts(2)) != std::string::npos, "printed " + cli_.out);
        } else if (verb == "out" || verb == "err") {
            (verb == "out" ? out_ : err_) += line.Texts(1);
        } else if (verb == "json") {
            outListed_ = true;
            const std::string path = line.Word(1);
            const auto leaves = JsonLeaves(cli_.out).leaves;
            const std::string actual = leaves.count(path) != 0 ? leaves.at(path) : "(none)";
            const std::string expected =
                line.tokens.at(3).quoted ? '"' + line.Text(3) + '"' : line.Word(3);
            Expect(actual == expected, path + " is " + actual);
        } else if (cli_.notifications >= 0) {  // notified N, where it can be told
            Expect(cli_.notifications == static_cast<int>(Number(line.Word(1))),
                   "notified " + std::to_string(cli_.notifications) + " times");
        }
    }

    void Do(const Line& line) {
        const std::string verb = line.Word(0);
        const std::set<std::string> kActions = {"open", "click", "system-command", "press"};
        const std::set<std::string> kSteps = {"given", "type", "close", "run", "stdin"};
        if (kActions.count(verb) != 0 || kSteps.count(verb) != 0) {
            EndOfStep();
            stepLine_ = line.number;
        }
        if (kActions.count(verb) != 0) {
            Act(line);
        } else if (verb == "given") {
            Given(line);
        } else if (verb == "type") {
            Dialog().Type(ControlId(line.Word(1)), line.Texts(2));
        } else if (verb == "close") {
            const std::map<std::string, CloseBy> kHow = {{"Esc", CloseBy::kEsc},
                                                         {"Enter", CloseBy::kEnter},
                                                         {"close-box", CloseBy::kCloseBox}};
            Expect(Dialog().Close(kHow.at(line.Word(2))), "the program did not end");
        } else if (verb == "stdin") {
            input_ = line.Texts(1);
        } else if (verb == "run") {
            Run(line);
        } else if (verb == "box" || verb == "dialog" || verb == "help") {
            Listed(line);
        } else {
            Check(line);
        }
    }

    // What the screen, the registry and the cache show now.
    void Check(const Line& line) {
        const std::string verb = line.Word(0);
        std::vector<std::string> words;
        std::vector<std::string> texts;
        for (std::size_t i = 1; i < line.Size(); ++i) {
            (line.tokens[i].quoted ? texts : words).push_back(line.tokens[i].text);
        }
        if (verb == "stored") {
            Assign(line, false);
        } else if (verb == "cache") {
            cache_ = {texts.begin(), texts.end()};
        } else if (verb == "checked") {  // exactly these of the radio buttons and check boxes
            for (const std::string& word : words) {
                if (word != "none") {
                    ControlId(word);  // a name no control has is a fault of the table
                }
            }
            for (int id = kFirstControl; id <= kLastCheckable; ++id) {
                const std::string name = kControls[id - kFirstControl];
                if (name == "-" || name == "server") {
                    continue;
                }
                const bool listed = std::count(words.begin(), words.end(), name) != 0;
                Expect(Dialog().Checked(id) == listed,
                       name + (listed ? " is not checked" : " is checked"));
            }
        } else if (verb == "enabled" || verb == "disabled") {
            for (const std::string& word : words) {
                Expect(Dialog().Enabled(ControlId(word)) == (verb == "enabled"),
                       word + " is not " + verb);
            }
        } else if (verb == "text") {
            const std::string actual = Dialog().Text(ControlId(line.Word(1)));
            Expect(actual == line.Texts(3), line.Word(1) + " shows \"" + actual + "\"");
        } else if (verb == "items") {
            const auto actual = Dialog().Items(ControlId(line.Word(1)));
            Expect(actual == texts, line.Word(1) + " lists" + List(actual));
        } else if (verb == "exit" || verb == "out" || verb == "err" || verb == "json" ||
                   verb == "notified") {
            CheckRun(line);
        } else {
            throw Error("unknown line");
        }
    }

    const Table& table_;
    Drivers drivers_;
    std::map<std::string, std::pair<Ref, std::optional<RegValue>>> model_;  // by folded name
    std::set<std::string> cache_;
    std::deque<std::string> shown_;  // what the last action showed, not yet listed
    std::string input_;
    CliRun cli_{0, "", "", -1};
    std::string out_;  // what the out and err lines of the run add up to
    std::string err_;
    bool outListed_ = false;  // or seen otherwise
    bool exitListed_ = true;
    int line_ = 0;
    int stepLine_ = 0;  // where the step now running began
};

}  // namespace

void RegisterScenarios(const std::string& suite, const std::string& path, DriversFactory make,
                       bool native) {
    const auto table = std::make_shared<const Table>(Parse(path));
    for (const Block& scenario : table->scenarios) {
        if (scenario.nativeOnly && !native) {
            continue;
        }
        struct Test : ::testing::Test {
            std::function<void()> body;
            void TestBody() override { body(); }
        };
        // The title as the test's name: its words run together, capitalised.
        std::string name;
        bool wordStart = true;
        for (const char c : scenario.title) {
            const bool letter = std::isalnum(static_cast<unsigned char>(c)) != 0;
            if (letter) {
                name += wordStart ? static_cast<char>(std::toupper(c)) : c;
            }
            wordStart = !letter;
        }
        const Block* block = &scenario;
        ::testing::RegisterTest(suite.c_str(), name.c_str(), nullptr, nullptr, path.c_str(),
                                scenario.number, [=]() -> ::testing::Test* {
                                    auto* test = new Test;
                                    test->body = [=] { Runner(*table, *block, make()); };
                                    return test;
                                });
    }
}

}  // namespace scenario
