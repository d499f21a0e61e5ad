#pragma once
// Scenarios are C++ (tests/scenarios/), compiled into the native tests and
// the tests under Wine. A Script runs one through the drivers and holds the
// world to a strict model:
// - after each step, every value given or stored holds exactly what was given
//   or last stored, type and bytes, and the URL cache what was given or last
//   listed;
// - a step showed no message box, dialog or help viewer that it does not
//   list, in order;
// - a run printed exactly its Out and Err lines unless OutHas or ErrHas looked
//   into its output, and ended with 0 unless Exit says otherwise.
// Each failure points at the scenario's own line.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <source_location>
#include <tuple>

#include "app/window/window_ops.h"
#include "store/registry_paths.h"
#include "tray/autostart.h"
#include "store/registry_seam.h"
#include "tests/scenario/drivers.h"

// How a failed check shows a value.
void PrintTo(const RawValue& value, std::ostream* os);

namespace scenario {

using Where = std::source_location;
using Value = std::optional<RawValue>;

struct Key {
    RegKey root;
    const char* path;
};
struct Ref {  // a value
    Key key;
    const char* name;
};

inline constexpr Key kZone{kHkeyCurrentUser, kZoneKey};
inline constexpr Key kSettings{kHkeyCurrentUser, kSettingsKey};
inline constexpr Key kPolicy{kHkeyLocalMachine, kPolicySettingsKey};
inline constexpr Key kPolicyZone{kHkeyLocalMachine, kPolicyZoneKey};
inline constexpr Key kUserPolicyZone{kHkeyCurrentUser, kPolicyZoneKey};

// The values the programs read and write; kValues holds them all.
inline constexpr Ref kScript{kZone, "1400"};
inline constexpr Ref kApplet{kZone, "1402"};
inline constexpr Ref kJava{kZone, "1C00"};
inline constexpr Ref kCookies{kZone, "1A02"};
inline constexpr Ref kSessionCookies{kZone, "1A03"};
inline constexpr Ref kProxyEnable{kSettings, "ProxyEnable"};
inline constexpr Ref kProxyServer{kSettings, "ProxyServer"};
inline constexpr Ref kProxyOverride{kSettings, "ProxyOverride"};
inline constexpr Ref kRun{{kHkeyCurrentUser, kRunKey}, kRunValue};  // the tray's, at log-on
inline constexpr Ref kValues[] = {kScript,      kApplet,         kJava,
                                  kCookies,     kSessionCookies, kProxyEnable,
                                  kProxyServer, kProxyOverride,  kRun};
// Two policies over them.
inline constexpr Ref kZonesFromMachine{kPolicy, "Security_HKLM_only"};
inline constexpr Ref kProxyPerUser{kPolicy, "ProxySettingsPerUser"};

constexpr std::uint32_t kRegBinary = 3;  // beside kRegSz and kRegDword
RawValue Dword(std::uint32_t n);
RawValue Sz(std::string_view text);                        // its zero byte added
RawValue Raw(std::uint32_t type, std::string_view bytes);  // exactly these bytes
inline const Value kMissing;

// Message boxes as they look: buttons and the exclamation.
constexpr unsigned kOkBox = kMbOk;
constexpr unsigned kWarnOkCancel = kMbOkCancel | kMbIconExclamation;
constexpr unsigned kWarnYesNo = kMbYesNo | kMbIconExclamation;
constexpr unsigned kWarnOk = kMbOk | kMbIconExclamation;

constexpr bool kContent = false;  // kinds of URL cache entry
constexpr bool kCookie = true;

// A step's methods return the script, and so do the checks of what it showed
// or printed, so that a step and its outcome may share a line:
//   s.Click(IDC_SET_SERVER).Box(kOkBox, "プロキシサーバ：ポートが未入力です。");
class Script {
  public:
    explicit Script(Drivers drivers);
    void End() { Step(step_); }  // checks the last step

    // Steps that change the machine.
    void Usual(Where at = Where::current());  // every value readable and shown, the proxy on
    void Given(const std::vector<Ref>& values, const Value& v, Where at = Where::current());
    void ReadOnly(Key key, Where at = Where::current()) {
        Step(at).machine->MakeReadOnly(key.root, key.path);
    }
    void ServerList(const std::string& bytes, Where at = Where::current()) {
        Step(at).machine->SetServerList(bytes);
    }
    void CacheEntry(bool cookie, const std::string& url, Where at = Where::current());
    // A file of the console's own, by its path below its folder; nullopt: none.
    void GivenFile(const std::string& path, const std::optional<std::string>& bytes,
                   Where at = Where::current()) {
        Step(at).machine->SetUserFile(path, bytes);
        File(path, bytes);
    }

    // Steps of the dialog: boxes are answered in order by answers, else by
    // their first button. Then what the step showed, in order.
    Script& Open(const std::vector<int>& answers = {}, Where at = Where::current()) {
        return Shows(Step(at).dialog->Open(answers));
    }
    Script& Click(int id, const std::vector<int>& answers = {}, Where at = Where::current()) {
        return Shows(Step(at).dialog->Click(id, answers));
    }
    Script& SystemCommand(unsigned command, Where at = Where::current()) {
        return Shows(Step(at).dialog->SystemCommand(command));
    }
    Script& PressF1(Where at = Where::current()) { return Shows(Step(at).dialog->PressF1()); }
    void Type(int id, const std::string& ansi, Where at = Where::current()) {
        Step(at).dialog->Type(id, ansi);
    }
    void Close(CloseBy how, Where at = Where::current()) {  // the program must end
        Expect(Step(at).dialog->Close(how), true, at, "the program ended");
    }
    Script& Box(unsigned type, const std::string& text, int times = 1, Where at = Where::current());
    Script& Dialog(const std::string& caption, Where at = Where::current()) {
        return Listed("dialog " + caption, at);
    }
    Script& Help(Where at = Where::current()) { return Listed("help viewer", at); }

    // Steps of the tray, answered as the dialog's; names answer its prompts.
    void TrayStart(Where at = Where::current()) {
        Expect(Step(at).tray->Start(), true, at, "the tray runs with its icon");
    }
    Script& TrayClick(const std::vector<int>& answers = {}, Where at = Where::current()) {
        return Shows(Step(at).tray->Click(answers));
    }
    Script& TrayDoubleClick(Where at = Where::current()) {
        return Shows(Step(at).tray->DoubleClick());
    }
    Script& Choose(const std::string& item, const std::vector<int>& answers = {},
                   const std::vector<std::string>& names = {}, Where at = Where::current()) {
        return Shows(Step(at).tray->Choose(item, answers, names));
    }
    Script& NetworksSettled(Where at = Where::current()) {
        return Shows(Step(at).tray->NetworksSettled());
    }
    // The machine's networks; moving it is for the scenarios that run natively.
    std::vector<ConnectedNetwork> MachineNetworks() { return d_.machine->Networks(); }
    void Networks(const std::vector<ConnectedNetwork>& networks, Where at = Where::current()) {
        Expect(Step(at).machine->SetNetworks(networks), true, at, "the machine moved");
    }
    void TrayExit(Where at = Where::current()) {
        Expect(Step(at).tray->Exit(), true, at, "the tray ended with its icon gone");
    }
    // A box of the tray; `ending`: its text ends so (it names a file, wherever it is).
    Script& TrayBox(unsigned type, const std::string& text, bool ending = false,
                    Where at = Where::current());
    Script& Balloon(const std::string& text, Where at = Where::current()) {
        return balloonsTold_ ? Listed("balloon " + text, at) : *this;
    }
    void Tooltip(const std::string& text, Where at = Where::current()) {
        Expect(d_.tray->Tooltip(text), text, at, "the tooltip");
    }
    std::string TrayProgram() { return d_.tray->ProgramPath(); }
    void Menu(const std::vector<std::string>& items, Where at = Where::current()) {
        if (const auto menu = d_.tray->Menu()) {
            Expect(*menu, items, at, "the menu");
        }
    }

    // The screen now. Checked: exactly these of the radio buttons and check boxes.
    void Checked(const std::vector<int>& ids, Where at = Where::current());
    void Enabled(const std::vector<int>& ids, bool enabled, Where at = Where::current()) {
        for (const int id : ids) {
            Expect(d_.dialog->Enabled(id), enabled, at, std::to_string(id) + " enabled");
        }
    }
    void Text(int id, const std::string& ansi, Where at = Where::current()) {
        Expect(d_.dialog->Text(id), ansi, at, "the text of " + std::to_string(id));
    }
    void Items(int id, const std::vector<std::string>& items, Where at = Where::current()) {
        Expect(d_.dialog->Items(id), items, at, "the list of " + std::to_string(id));
    }
    void HasIcons(Where at = Where::current()) {  // where that can be told
        if (const auto icons = d_.dialog->HasIcons()) {
            Expect(*icons, true, at, "the application's icons shown");
        }
    }

    // What the machine holds from now on, checked after each step.
    Script& Stored(const std::vector<Ref>& values, const Value& v);
    Script& File(const std::string& path, const std::optional<std::string>& bytes) {
        files_[path] = bytes;
        return *this;
    }
    void Cache(std::vector<std::string> urls) {
        std::sort(urls.begin(), urls.end());
        cache_ = urls;
    }

    // Runs of the console program, with what standard input holds, and what
    // the last one did. Out and Err lines are checked after the step, as all
    // it printed.
    Script& Run(const std::vector<std::string>& args, const std::string& input = "",
                Where at = Where::current()) {
        run_ = Step(at).cli->Run(args, input);
        return *this;
    }
    Script& Exit(int code, Where at = Where::current()) {
        exitSeen_ = true;
        return Expect(run_.exitCode, code, at, "the exit code");
    }
    Script& Out(const std::string& line) {
        out_ += line;
        return *this;
    }
    Script& Err(const std::string& line) {
        err_ += line;
        return *this;
    }
    Script& OutHas(const std::string& text, Where at = Where::current()) {
        outSeen_ = true;
        return Expect(run_.out.find(text) != std::string::npos, true, at, text + " in " + run_.out);
    }
    Script& ErrHas(const std::string& text, Where at = Where::current()) {
        errSeen_ = true;
        return Expect(run_.err.find(text) != std::string::npos, true, at, text + " in " + run_.err);
    }
    Script& Notified(int times, Where at = Where::current()) {  // where that can be told
        if (run_.notifications >= 0) {
            Expect(run_.notifications, times, at, "the count of notices");
        }
        return *this;
    }

  private:
    template <class T>
    Script& Expect(const T& actual, const T& expected, Where at, const std::string& what) {
        if (!(actual == expected)) {
            ADD_FAILURE_AT(at.file_name(), at.line())
                << what << " is " << ::testing::PrintToString(actual) << ", not "
                << ::testing::PrintToString(expected);
        }
        return *this;
    }
    // Ends the step before, once what it left is checked, and begins one at
    // `at` on these drivers.
    Drivers& Step(Where at);
    Script& Shows(const Shown& shown);
    Script& Listed(const std::string& expected, Where at);
    void Set(Ref value, const Value& v);

    Drivers d_;
    Where step_;  // where the step now running began
    std::map<std::tuple<RegKey, std::string, std::string>, Value> model_;
    std::map<std::string, std::optional<std::string>> files_;
    std::vector<std::string> cache_;  // sorted
    std::deque<std::string> shown_;   // what the last step showed, not yet listed
    CliRun run_{0, "", "", -1};       // the last run
    std::string out_;                 // what its Out and Err lines add up to
    std::string err_;
    bool outSeen_ = false;  // its output was looked into otherwise
    bool errSeen_ = false;
    bool exitSeen_ = false;
    bool balloonsTold_ = true;  // by the last step that showed anything
};

// Where the scenarios run, each instantiation named after it: fresh drivers
// for each scenario, and whether they are the native ones (some scenarios run
// natively only).
struct Platform {
    std::function<Drivers()> make;
    bool native;
};

class Scenario : public ::testing::TestWithParam<Platform> {
  protected:
    bool Native() const { return GetParam().native; }
    void TearDown() override {
        if (!IsSkipped()) {
            s.End();
        }
    }
    Script s{GetParam().make()};
};

}  // namespace scenario

class DialogScenario : public scenario::Scenario {};
class CliScenario : public scenario::Scenario {};
class TrayScenario : public scenario::Scenario {};
