#include "tests/scenario/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "store/registry_paths.h"

namespace scenario {
namespace {

using Error = std::runtime_error;
using Texts = std::vector<std::string>;

// --- Reading a table ----------------------------------------------------------

// A line of a table: its words and texts, in order.
struct Line {
    int number = 0;
    Texts tokens;
    std::vector<bool> quoted;

    std::string Word(std::size_t i) const {
        return i < tokens.size() && !quoted[i] ? tokens[i] : "";
    }
    std::string Text(std::size_t i) const {
        if (i >= tokens.size() || !quoted[i]) {
            throw Error("a text is missing");
        }
        return tokens[i];
    }
    std::string TextsFrom(std::size_t i) const {  // run together
        std::string texts;
        for (; i < tokens.size(); ++i) {
            texts += Text(i);
        }
        return texts;
    }
};

// The text quoted at s[*i], with \n \r \t \0 \xNN escapes and a repeat ("ab"*3);
// *i is left past it.
std::string QuotedText(const std::string& s, std::size_t* i) {
    std::string text;
    for (++*i; s.at(*i) != '"'; ++*i) {
        char c = s[*i];
        if (c == '\\') {
            c = s.at(++*i);
            if (c == 'x') {
                c = static_cast<char>(std::stoi(s.substr(*i + 1, 2), nullptr, 16));
                *i += 2;
            } else if (c != '\\' && c != '"') {
                c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : '\0';
            }
        }
        text += c;
    }
    std::size_t count = 1;
    if (++*i < s.size() && s[*i] == '*') {
        std::size_t digits = 0;
        count = std::stoul(s.substr(*i + 1), &digits);
        *i += 1 + digits;
    }
    std::string repeated;
    while (count-- > 0) {
        repeated += text;
    }
    return repeated;
}

// Texts written without a space between them ("a""b") are one.
Line Tokenize(int number, const std::string& s) {
    Line line{number, {}, {}};
    std::size_t joinAt = std::string::npos;
    for (std::size_t i = 0; i < s.size() && s[i] != '#';) {
        if (s[i] == '"') {
            const bool join = i == joinAt;
            const std::string text = QuotedText(s, &i);
            if (join) {
                line.tokens.back() += text;
            } else {
                line.tokens.push_back(text);
                line.quoted.push_back(true);
            }
            joinAt = i;
        } else if (std::isspace(static_cast<unsigned char>(s[i])) != 0) {
            ++i;
        } else {
            const std::size_t end = std::min(s.find_first_of(" \t\r", i), s.size());
            line.tokens.push_back(s.substr(i, end - i));
            line.quoted.push_back(false);
            i = end;
        }
    }
    return line;
}

struct Block {
    std::string title;
    int number = 0;
    bool nativeOnly = false;
    std::vector<Line> lines;
};

struct Table {
    std::string path;
    std::vector<Line> header;
    std::map<std::string, Block> defines;  // by name
    std::vector<Block> scenarios;
};

Table Parse(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw Error("cannot read " + path);
    }
    Table table{path, {}, {}, {}};
    std::vector<Line>* lines = &table.header;
    std::string s;
    for (int number = 1; std::getline(file, s); ++number) {
        const std::string head = s.substr(0, s.find(": "));
        Block* block = nullptr;
        if (head == "scenario" || head == "scenario, natively") {
            block = &table.scenarios.emplace_back();
        } else if (head.rfind("define ", 0) == 0) {
            block = &table.defines[head.substr(7)];
        }
        if (block != nullptr) {
            *block = {s.substr(head.size() + 2), number, head == "scenario, natively", {}};
            lines = &block->lines;
            continue;
        }
        try {
            const Line line = Tokenize(number, s);
            if (!line.tokens.empty()) {
                lines->push_back(line);
            }
        } catch (const std::exception& e) {
            throw Error(path + ":" + std::to_string(number) + ": " + e.what());
        }
    }
    return table;
}

// --- Names in the tables --------------------------------------------------------

std::uint32_t Number(const std::string& word) {
    std::size_t used = 0;
    const unsigned long n = std::stoul(word, &used, 0);
    return used == word.size() ? static_cast<std::uint32_t>(n) : throw Error("no number " + word);
}

struct Ref {
    Root root = Root::kCurrentUser;
    std::string key;
    std::string name;
};

// A value, KEY\NAME; a KEY is zone, settings, policy, policy-zone,
// user-policy-zone, or HKCU\path or HKLM\path.
Ref RefOf(const std::string& word, bool isKey = false) {
    const std::size_t slash = isKey ? word.size() : word.rfind('\\');
    const std::string key = word.substr(0, slash);
    const std::string name = isKey ? "" : word.substr(slash + 1);
    const std::map<std::string, std::pair<Root, const char*>> kKeys = {
        {"zone", {Root::kCurrentUser, kZoneKey}},
        {"settings", {Root::kCurrentUser, kSettingsKey}},
        {"policy", {Root::kLocalMachine, kPolicySettingsKey}},
        {"policy-zone", {Root::kLocalMachine, kPolicyZoneKey}},
        {"user-policy-zone", {Root::kCurrentUser, kPolicyZoneKey}},
    };
    if (kKeys.count(key) != 0) {
        return {kKeys.at(key).first, kKeys.at(key).second, name};
    }
    if (key.rfind("HKCU\\", 0) != 0 && key.rfind("HKLM\\", 0) != 0) {
        throw Error("no key " + key);
    }
    return {key[2] == 'C' ? Root::kCurrentUser : Root::kLocalMachine, key.substr(5), name};
}

// missing | dword N | sz TEXT (its zero byte added) | raw TYPE PIECE..., the
// pieces texts or hex digits: the bytes exactly as stored.
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
        const std::string text = line.TextsFrom(i + 1) + '\0';
        return RegValue{1, {text.begin(), text.end()}};
    }
    const std::map<std::string, std::uint32_t> kTypes = {
        {"sz", 1}, {"expand-sz", 2}, {"binary", 3}, {"dword", 4}, {"multi-sz", 7}};
    if (kind != "raw" || kTypes.count(line.Word(i + 1)) == 0) {
        throw Error("no value " + kind);
    }
    RegValue value{kTypes.at(line.Word(i + 1)), {}};
    for (std::size_t j = i + 2; j < line.tokens.size(); ++j) {
        const std::string& piece = line.tokens[j];
        for (std::size_t k = 0; k < piece.size(); k += line.quoted[j] ? 1 : 2) {
            value.bytes.push_back(static_cast<std::uint8_t>(
                line.quoted[j] ? piece[k] : std::stoi(piece.substr(k, 2), nullptr, 16)));
        }
    }
    return value;
}

std::string Describe(const std::optional<RegValue>& value) {
    if (!value) {
        return "missing";
    }
    std::ostringstream shown;
    shown << "type " << value->type << ", " << value->bytes.size() << " bytes:";
    for (std::size_t i = 0; i < value->bytes.size() && i < 40; ++i) {
        shown << ' ' << static_cast<int>(value->bytes[i]);
    }
    return shown.str();
}

// The controls, by id from 1000 on; "-" is none.
const Texts& Controls() {
    static const Texts names = [] {
        std::istringstream in(
            "script.ask script.on script.off applet.ask applet.on applet.off java.high "
            "java.medium java.low java.off - proxy server cookies.ask cookies.on cookies.off "
            "session.ask session.on session.off local exclusions set-exclusions set-server - - "
            "all-on all-off standard about delete-files delete-cookies");
        return Texts(std::istream_iterator<std::string>(in), {});
    }();
    return names;
}

int ControlId(const std::string& name) {
    const auto found = std::find(Controls().begin(), Controls().end(), name);
    if (name == "-" || found == Controls().end()) {
        throw Error("no control " + name);
    }
    return 1000 + static_cast<int>(found - Controls().begin());
}

std::string List(const Texts& texts) {
    std::string list;
    for (const std::string& text : texts) {
        list += "\n  " + text;
    }
    return list.empty() ? " nothing" : list;
}

// The leaves of a JSON text by path ("zone.java.setting"; array items by
// index): strings quoted, other literals as written; an object or an array is
// recorded at its own path as {N} or [N], its count of members. Anything that
// is not JSON throws.
class Json {
  public:
    explicit Json(const std::string& text) : s_(text) {
        Value("");
        if (Next(true) != '\0') {
            throw Error("text after the JSON");
        }
    }
    std::map<std::string, std::string> leaves;

  private:
    char Next(bool endAllowed = false) {
        while (at_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[at_])) != 0) {
            ++at_;
        }
        if (at_ < s_.size()) {
            return s_[at_];
        }
        if (!endAllowed) {
            throw Error("the JSON ends early");
        }
        return '\0';
    }
    void Take(char c) {
        if (Next() != c) {
            throw Error(std::string("JSON: no ") + c + " at " + std::to_string(at_));
        }
        ++at_;
    }
    std::string String() {
        Take('"');
        std::string text;
        for (char c = s_.at(at_++); c != '"'; c = s_.at(at_++)) {
            if (c == '\\' && (c = s_.at(at_++)) == 'u') {
                c = static_cast<char>(std::stoi(s_.substr(at_, 4), nullptr, 16));
                at_ += 4;
            }
            text += c;
        }
        return text;
    }
    void Value(const std::string& path) {
        const char open = Next();
        if (open == '"') {
            leaves[path] = '"' + String() + '"';
        } else if (open == '{' || open == '[') {
            const char close = open == '{' ? '}' : ']';
            std::size_t count = 0;
            for (++at_; Next() != close; ++count) {
                if (count != 0) {
                    Take(',');
                }
                std::string name = std::to_string(count);
                if (open == '{') {
                    name = String();
                    Take(':');
                }
                Value(path.empty() ? name : path + "." + name);
            }
            ++at_;
            leaves[path] = open + std::to_string(count) + close;
        } else {
            const std::size_t end = std::min(s_.find_first_of(",]} \n", at_), s_.size());
            leaves[path] = s_.substr(at_, end - at_);
            at_ = end;
        }
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

// --- Running a scenario -----------------------------------------------------------

class Runner {
  public:
    Runner(const Table& table, const Block& scenario, Drivers drivers)
        : table_(table), drivers_(std::move(drivers)) {
        try {
            drivers_.machine->Clean();
            for (const Line& line : table.header) {
                for (std::size_t i = 1; line.Word(0) == "watch" && i < line.tokens.size(); ++i) {
                    model_[line.Word(i)] = {RefOf(line.Word(i)), std::nullopt};
                }
            }
            for (const Line& line : scenario.lines) {
                line_ = line.number;
                Do(line);
            }
            EndStep();
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
    CliDriver& Cli() { return drivers_.cli ? *drivers_.cli : throw Error("no console program"); }

    // The step before is over: all it showed and printed has been listed, and
    // every value named, and the cache, hold what the scenario says by now.
    void EndStep() {
        std::swap(line_, stepLine_);
        Expect(shown_.empty(), "shown, not listed:" + List({shown_.begin(), shown_.end()}));
        Expect(outSeen_ || run_.out == out_, "printed:\n" + run_.out);
        Expect(errSeen_ || run_.err == err_, "printed on standard error:\n" + run_.err);
        Expect(exitSeen_ || run_.exitCode == 0, "exit code " + std::to_string(run_.exitCode));
        std::swap(line_, stepLine_);
        shown_.clear();
        run_ = {0, "", "", -1};
        out_ = err_ = "";
        outSeen_ = errSeen_ = exitSeen_ = false;
        for (const auto& [name, expected] : model_) {
            const auto& [ref, value] = expected;
            const auto actual = drivers_.machine->Value(ref.root, ref.key, ref.name);
            Expect(actual == value, name + " is " + Describe(actual) + ", not " + Describe(value));
        }
        Texts left;
        for (const CacheEntry& entry : drivers_.machine->CacheEntries()) {
            left.push_back(entry.url);
        }
        std::sort(left.begin(), left.end());
        Expect(left == Texts(cache_.begin(), cache_.end()), "the cache holds" + List(left));
    }

    // given|stored VALUE... = ...: the values hold that now, given ones stored
    // so first.
    void Assign(const Line& line, bool given) {
        std::size_t equals = 2;
        while (line.Word(equals) != "=") {
            if (++equals >= line.tokens.size()) {
                throw Error("no =");
            }
        }
        for (std::size_t i = 1; i < equals; ++i) {
            const Ref ref = RefOf(line.Word(i));
            model_[line.Word(i)] = {ref, ValueAt(line, equals + 1)};
            if (given) {
                drivers_.machine->SetValue(ref.root, ref.key, ref.name, ValueAt(line, equals + 1));
            }
        }
    }

    void Given(const Line& line) {
        const std::string what = line.Word(1);
        if (table_.defines.count(what) != 0) {
            for (const Line& given : table_.defines.at(what).lines) {
                Given(given);
            }
        } else if (what == "read-only") {
            const Ref key = RefOf(line.Word(2), true);
            drivers_.machine->MakeReadOnly(key.root, key.key);
        } else if (what == "server.pxy") {
            drivers_.machine->SetServerList(line.TextsFrom(2));
        } else if (what == "cache") {
            drivers_.machine->AddCacheEntry({line.Text(3), line.Word(2) == "cookie"});
            cache_.insert(line.Text(3));
        } else {
            Assign(line, true);
        }
    }

    static std::string BoxText(const Box& box) {
        return "box " + std::to_string(box.type) + " \"" + box.text + "\" captioned " + box.caption;
    }

    // open | click CONTROL | system-command N | press F1, answered as the line
    // says after "->" (else by each box's first button).
    void Act(const Line& line) {
        const std::map<std::string, int> kAnswers = {
            {"OK", 1}, {"Cancel", 2}, {"Yes", 6}, {"No", 7}};
        std::vector<int> answers;
        for (std::size_t i = 1; i < line.tokens.size(); ++i) {
            if (!answers.empty() || line.Word(i - 1) == "->") {
                answers.push_back(kAnswers.at(line.Word(i)));
            }
        }
        const std::string verb = line.Word(0);
        const Shown shown = verb == "open"    ? Dialog().Open(answers)
                            : verb == "click" ? Dialog().Click(ControlId(line.Word(1)), answers)
                            : verb == "press"
                                ? Dialog().PressF1()
                                : Dialog().SystemCommand(Number(line.Word(1)), answers);
        for (const Box& box : shown.boxes) {
            shown_.push_back(BoxText(box));
        }
        for (const std::string& caption : shown.dialogs) {
            shown_.push_back("dialog " + caption);
        }
        if (shown.help) {
            shown_.push_back("help viewer");
        }
    }

    // box KIND TEXT [xN] | dialog CAPTION | help viewer: what the action showed
    // next.
    void Listed(const Line& line) {
        const std::map<std::string, unsigned> kKinds = {
            {"OK", 0},     {"OK/Cancel", 1},     {"Yes/No", 4},
            {"OK!", 0x30}, {"OK/Cancel!", 0x31}, {"Yes/No!", 0x34}};
        const std::string verb = line.Word(0);
        const std::string expected =
            verb == "box"      ? BoxText({line.Text(2), kKinds.at(line.Word(1)), "Vormet"})
            : verb == "dialog" ? "dialog " + line.Text(1)
                               : "help viewer";
        const std::string times = line.Word(3);
        for (std::uint32_t n = times.empty() ? 1 : Number(times.substr(1)); n > 0; --n) {
            Expect(!shown_.empty() && shown_.front() == expected,
                   "not shown: " + expected + "\nshown:" + List({shown_.begin(), shown_.end()}));
            if (!shown_.empty()) {
                shown_.pop_front();
            }
        }
    }

    // exit N | out|err TEXT | out|err has TEXT | json PATH = VALUE |
    // notified N: what the last run did. Its out and err lines add up to all
    // it printed, unless that was looked into otherwise.
    void RunOutcome(const Line& line) {
        const std::string verb = line.Word(0);
        if (verb == "exit") {
            exitSeen_ = true;
            Expect(run_.exitCode == static_cast<int>(Number(line.Word(1))),
                   "exit code " + std::to_string(run_.exitCode));
        } else if ((verb == "out" || verb == "err") && line.Word(1) == "has") {
            (verb == "out" ? outSeen_ : errSeen_) = true;
            const std::string& printed = verb == "out" ? run_.out : run_.err;
            Expect(printed.find(line.TextsFrom(2)) != std::string::npos, "printed " + printed);
        } else if (verb == "out" || verb == "err") {
            (verb == "out" ? out_ : err_) += line.TextsFrom(1);
        } else if (verb == "json") {
            outSeen_ = true;
            const auto leaves = Json(run_.out).leaves;
            const std::string path = line.Word(1);
            const std::string actual = leaves.count(path) != 0 ? leaves.at(path) : "nothing";
            const std::string expected =
                line.quoted.at(3) ? '"' + line.Text(3) + '"' : line.Word(3);
            Expect(actual == expected, path + " is " + actual);
        } else if (run_.notifications >= 0) {  // notified N, where that can be told
            Expect(run_.notifications == static_cast<int>(Number(line.Word(1))),
                   "notified " + std::to_string(run_.notifications) + " times");
        }
    }

    // What the screen shows now, or the registry and the cache hold.
    void Check(const Line& line) {
        const std::string verb = line.Word(0);
        Texts words;
        Texts texts;
        for (std::size_t i = 1; i < line.tokens.size(); ++i) {
            (line.quoted[i] ? texts : words).push_back(line.tokens[i]);
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
            for (int id = 1000; id <= 1019; ++id) {
                const std::string& name = Controls()[id - 1000];
                const bool listed = std::count(words.begin(), words.end(), name) != 0;
                if (name != "-" && name != "server") {
                    Expect(Dialog().Checked(id) == listed,
                           name + (listed ? " is not" : " is") + " checked");
                }
            }
        } else if (verb == "enabled" || verb == "disabled") {
            for (const std::string& word : words) {
                Expect(Dialog().Enabled(ControlId(word)) == (verb == "enabled"),
                       word + " is not " + verb);
            }
        } else if (verb == "text") {
            const std::string actual = Dialog().Text(ControlId(line.Word(1)));
            Expect(actual == line.TextsFrom(3), line.Word(1) + " shows \"" + actual + "\"");
        } else if (verb == "items") {
            const Texts actual = Dialog().Items(ControlId(line.Word(1)));
            Expect(actual == texts, line.Word(1) + " lists" + List(actual));
        } else {
            throw Error("unknown line");
        }
    }

    void Do(const Line& line) {
        const std::string verb = line.Word(0);
        const std::set<std::string> kActions = {"open", "click", "system-command", "press"};
        const std::set<std::string> kOutcomes = {"exit", "out", "err", "json", "notified"};
        if (kActions.count(verb) != 0 || verb == "given" || verb == "type" || verb == "close" ||
            verb == "stdin" || verb == "run") {
            EndStep();
            stepLine_ = line.number;
        }
        if (kActions.count(verb) != 0) {
            Act(line);
        } else if (verb == "box" || verb == "dialog" || verb == "help") {
            Listed(line);
        } else if (kOutcomes.count(verb) != 0) {
            RunOutcome(line);
        } else if (verb == "given") {
            Given(line);
        } else if (verb == "type") {
            Dialog().Type(ControlId(line.Word(1)), line.TextsFrom(2));
        } else if (verb == "close") {
            const std::map<std::string, CloseBy> kHow = {{"Esc", CloseBy::kEsc},
                                                         {"Enter", CloseBy::kEnter},
                                                         {"close-box", CloseBy::kCloseBox}};
            Expect(Dialog().Close(kHow.at(line.Word(2))), "the program did not end");
        } else if (verb == "stdin") {
            input_ = line.TextsFrom(1);
        } else if (verb == "run") {
            run_ = Cli().Run(Texts(line.tokens.begin() + 1, line.tokens.end()), input_);
            input_.clear();
        } else {
            Check(line);
        }
    }

    const Table& table_;
    Drivers drivers_;
    std::map<std::string, std::pair<Ref, std::optional<RegValue>>> model_;  // by name in the table
    std::set<std::string> cache_;
    std::deque<std::string> shown_;  // what the last action showed, not yet listed
    std::string input_;              // for the next run
    CliRun run_{0, "", "", -1};      // the last run
    std::string out_;                // what its out and err lines add up to
    std::string err_;
    bool outSeen_ = false;  // its output was looked into otherwise
    bool errSeen_ = false;
    bool exitSeen_ = false;
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
        // The title's words run together, capitalised, name the test.
        std::string name;
        for (std::size_t i = 0; i < scenario.title.size(); ++i) {
            const auto c = static_cast<unsigned char>(scenario.title[i]);
            const bool starts =
                i == 0 || std::isalnum(static_cast<unsigned char>(scenario.title[i - 1])) == 0;
            if (std::isalnum(c) != 0) {
                name += static_cast<char>(starts ? std::toupper(c) : c);
            }
        }
        struct Test : ::testing::Test {
            std::function<void()> body;
            void TestBody() override { body(); }
        };
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
