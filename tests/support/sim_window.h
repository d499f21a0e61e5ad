#pragma once
// The scenario drivers without Windows: a machine of in-memory stand-ins, and
// the main dialog in a simulated window system that behaves like user32 where
// the dialog relies on it: posted clicks wait until the handler that posted
// them returns and come in order, an auto radio button clears its group, an
// auto check box toggles and then notifies, BM_SETCHECK notifies nobody, a
// disabled control takes no clicks, and message boxes are answered from a
// script and logged.
#include <deque>
#include <span>
#include <stdexcept>

#include "app/settings_dlg.h"
#include "cli/cli.h"
#include "profile/profile_store.h"
#include "tests/scenario/controls.h"
#include "tests/scenario/drivers.h"
#include "tests/support/fakes.h"
#include "tray/tray.h"

// The networks the machine is connected to, as given: at first one, with a
// gateway and its hardware address, as a machine on a wired network. A look
// for the whereabouts gets nothing else.
struct FakeNetworks : NetworkSeam {
    std::vector<ConnectedNetwork> connected{{"1", "", "", "192.0.2.1", "02-fc-00-00-00-05", "", 0}};
    std::vector<ConnectedNetwork> ConnectedNetworks(NetworkLook look) override {
        if (look == NetworkLook::kIdentities) {
            return connected;
        }
        std::vector<ConnectedNetwork> places;
        for (const ConnectedNetwork& n : connected) {
            places.push_back({n.adapter, "", n.dnsSuffix, n.gateway, "", "", 0});
        }
        return places;
    }
};

class NativeMachine : public scenario::Machine {
  public:
    FakeRegistry registry;
    CRegistryAccess access{registry};
    FakeFiles files;
    FakeUrlCache cache;
    FakeNetworks networks;

    void Clean() override {}  // each scenario has a machine of its own
    void SetValue(RegKey root, const std::string& key, const std::string& name,
                  const std::optional<RawValue>& value) override {
        registry.Put(root, key, name, value);
    }
    std::optional<RawValue> Value(RegKey root, const std::string& key,
                                  const std::string& name) override {
        auto& values = registry.keys[{root, Fold(key)}];
        const auto found = values.find(Fold(name));
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    void MakeReadOnly(RegKey root, const std::string& key) override {
        registry.Put(root, key, "", std::nullopt);
        registry.readOnly.insert({root, Fold(key)});
    }
    void SetServerList(const std::string& bytes) override {
        files.files[Fold(files.directory + "\\server.pxy")] = bytes;
    }
    void AddCacheEntry(const scenario::CacheEntry& entry) override {
        cache.Add(entry.url, entry.cookie);
    }
    std::vector<scenario::CacheEntry> CacheEntries() override {
        std::vector<scenario::CacheEntry> entries;
        for (const auto& [serial, entry] : cache.entries) {
            entries.push_back({entry.url, (entry.type & kCookieCacheEntry) != 0});
        }
        return entries;
    }
    void SetUserFile(const std::string& path, const std::optional<std::string>& bytes) override {
        const std::string full = AppFolder(files) + "\\" + path;
        files.RemoveFile(full);
        if (bytes) {
            files.SaveFile(full, *bytes);
        }
    }
    std::vector<ConnectedNetwork> Networks() override { return networks.connected; }
    bool SetNetworks(const std::vector<ConnectedNetwork>& connected) override {
        networks.connected = connected;
        return true;
    }
    std::optional<std::string> UserFile(const std::string& path) override {
        std::string bytes;
        const FileOutcome found = files.LoadFile(AppFolder(files) + "\\" + path, SIZE_MAX, &bytes);
        return found == FileOutcome::kDone ? std::optional(bytes) : std::nullopt;
    }
};

class SimWindow : public WindowOps, public scenario::DialogDriver {
  public:
    explicit SimWindow(NativeMachine& machine) : machine_(machine) {
        for (const ZoneButton& button : kZoneButtons) {
            controls_[button.id].group = static_cast<int>(button.option);
        }
        for (const int id : kCheckBoxes) {
            controls_[id].checkBox = true;
        }
        for (const auto& ids :
             {std::span<const int>(kTextFields), std::span<const int>(kPushButtons)}) {
            for (const int id : ids) {
                controls_[id];
            }
        }
    }

    std::vector<std::pair<unsigned, std::string>>
        menu;  // the system menu's end; a separator is {0, ""}

    scenario::Shown Open(const std::vector<int>& answers) override {
        dialog_.emplace(SettingsServices{machine_.access, machine_.files, machine_.cache});
        dialog_->Attach(*this);
        return Run(answers, [this] { Send(kWmInitDialog); });
    }
    scenario::Shown Click(int id, const std::vector<int>& answers) override {
        return Run(answers, [this, id] { Press(id); });
    }
    scenario::Shown SystemCommand(unsigned command) override {
        return Run({}, [this, command] { Send(kWmSysCommand, command); });
    }
    scenario::Shown PressF1() override {
        return Run({}, [this] { Send(kWmHelp); });
    }
    void Type(int id, const std::string& ansi) override {
        Control& control = controls_.at(id);
        control.text = ansi.substr(0, control.limit != 0 ? control.limit : ansi.size());
    }
    bool Checked(int id) override { return controls_.at(id).checked; }
    bool Enabled(int id) override { return controls_.at(id).enabled; }
    std::string Text(int id) override { return controls_.at(id).text; }
    std::vector<std::string> Items(int id) override { return controls_.at(id).items; }
    std::optional<bool> HasIcons() override { return icons_; }
    // The base dialog ends on OK (Enter outside a push button) and on Cancel
    // (Esc, and the close box's command), unless the dialog's map takes them.
    bool Close(scenario::CloseBy how) override {
        constexpr std::uintptr_t kScClose = 0xF060;
        if (how == scenario::CloseBy::kCloseBox && Send(kWmSysCommand, kScClose)) {
            return false;
        }
        const int button = how == scenario::CloseBy::kEnter ? kIdOk : kIdCancel;
        return !Send(kWmCommand, ClickMessage(button).wParam);
    }

    void PostClick(int id) override { posted_.push_back(id); }
    bool IsChecked(int id) override { return controls_.at(id).checked; }
    void SetCheck(int id, bool checked) override { controls_.at(id).checked = checked; }
    void Enable(int id, bool enabled) override { controls_.at(id).enabled = enabled; }
    std::string GetText(int id) override { return controls_.at(id).text; }
    void SetText(int id, const std::string& text) override { controls_.at(id).text = text; }
    void AddComboItem(int id, const std::string& text) override {
        controls_.at(id).items.push_back(text);
    }
    void LimitText(int id, std::size_t maxBytes) override { controls_.at(id).limit = maxBytes; }
    void SetBusy(bool /*on*/) override {}
    void KeepResponsive() override {}
    int ShowMessage(std::string_view text, unsigned type) override {
        shown_.boxes.push_back({std::string(text), type, "Vormet"});
        if (answers_.empty()) {  // the first button
            return (type & 0xF) == kMbYesNo ? kIdYes : kIdOk;
        }
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void SetIcons() override { icons_ = true; }
    bool PaintIfMinimized() override { return false; }
    std::intptr_t DragIcon() override { return 0; }
    void OpenHelp() override { shown_.help = true; }
    bool HasSystemMenu() override { return true; }
    void AppendSystemMenuSeparator() override { menu.emplace_back(); }
    void AppendSystemMenuItem(unsigned command, std::string_view text) override {
        menu.emplace_back(command, std::string(text));
    }
    // No resources here: a string is named by its id.
    std::string LoadResourceString(int id) override { return "string " + std::to_string(id); }
    int RunModal(Dialog& dialog) override {
        // The box is ended by its OK, which its own map must leave to the base.
        const bool ends = !dialog.HandleMessage(ClickMessage(kIdOk));
        shown_.dialogs.push_back(dialog.TemplateId() == IDD_ABOUTBOX && ends ? "ﾊﾞｰｼﾞｮﾝ情報" : "?");
        return kIdOk;
    }

  private:
    struct Control {
        int group = -1;  // a radio button's option; -1: none
        bool checkBox = false;
        bool checked = false;
        bool enabled = true;
        std::string text;
        std::vector<std::string> items;
        std::size_t limit = 0;  // 0: none
    };

    // What the user did, then the clicks it posted, in order.
    template <class Action>
    scenario::Shown Run(const std::vector<int>& answers, Action action) {
        answers_.assign(answers.begin(), answers.end());
        shown_ = {};
        action();
        for (; !posted_.empty(); posted_.pop_front()) {
            Press(posted_.front());
        }
        // Idle, the window is asked to paint; it is never minimized here, so
        // painting is the system's, else the request would come back forever.
        if (Send(kWmPaint)) {
            throw std::logic_error("the dialog took WM_PAINT and painted nothing");
        }
        return shown_;
    }
    void Press(int id) {
        Control& control = controls_.at(id);
        if (!control.enabled) {
            return;
        }
        if (control.group >= 0) {  // an auto radio button
            for (auto& [other, state] : controls_) {
                if (state.group == control.group) {
                    state.checked = false;
                }
            }
            control.checked = true;
        } else if (control.checkBox) {  // an auto check box
            control.checked = !control.checked;
        }
        Send(kWmCommand, ClickMessage(id).wParam);
    }
    MessageResult Send(std::uint32_t msg, std::uintptr_t wParam = 0) {
        return dialog_->HandleMessage({msg, wParam, 0});
    }
    NativeMachine& machine_;
    std::optional<CSettingsDlg> dialog_;
    std::map<int, Control> controls_;
    std::deque<int> posted_;
    std::deque<int> answers_;
    scenario::Shown shown_;
    bool icons_ = false;
};

// The console program's logic over the same machine, with a console that
// keeps what is written and reads the input given.
class NativeCli : public scenario::CliDriver, public Console, public SettingsNotifier {
  public:
    explicit NativeCli(NativeMachine& machine) : machine_(machine) {}
    // After this many entries of a cleaning run, Ctrl+C.
    std::size_t stopAfter = SIZE_MAX;

    scenario::CliRun Run(const std::vector<std::string>& args, const std::string& input) override {
        run_ = {0, "", "", 0};
        input_ = input;
        CliServices services{machine_.access, machine_.files, machine_.files, charset_,
                             machine_.cache,  *this,          *this,          machine_.networks};
        run_.exitCode = RunCli(args, services);
        return run_;
    }
    void Out(std::string_view text) override { run_.out += Ended(text); }
    void Err(std::string_view text) override { run_.err += Ended(text); }
    bool ReadLine(std::string* line) override {
        if (input_.empty()) {
            return false;
        }
        const std::size_t end = std::min(input_.find('\n'), input_.size());
        *line = input_.substr(0, end);
        input_.erase(0, end + 1);
        return true;
    }
    bool Progress(std::size_t done) override {
        progressOpen_ = true;
        return done < stopAfter;
    }
    void EndProgress() override { progressOpen_ = false; }
    void SettingsChanged() override { ++run_.notifications; }

  private:
    // On a console, a progress line must be ended before anything else shows.
    std::string Ended(std::string_view text) {
        return (std::exchange(progressOpen_, false) ? "(progress left open)" : "") +
               std::string(text);
    }

    NativeMachine& machine_;
    FakeCharset charset_;
    scenario::CliRun run_;
    std::string input_;
    bool progressOpen_ = false;
};

// The tray's logic over the same machine, with a shell that keeps what it is
// shown and chooses the menu's item of the step. The registry's notice of a
// change, which wakes the real tray, is a refresh before each look.
class NativeTray : public scenario::TrayDriver, public TrayShell, public SettingsNotifier {
  public:
    explicit NativeTray(NativeMachine& machine) : machine_(machine) {}

    bool Start() override {
        tray_.emplace(TrayServices{machine_.access, machine_.files, charset_, *this, *this,
                                   machine_.networks});
        return tray_->Refresh();
    }
    scenario::Shown Click(const std::vector<int>& answers) override {
        return Run(answers, {}, [this] { tray_->Click(); });
    }
    scenario::Shown DoubleClick() override {
        return Run({}, {}, [this] { tray_->DoubleClick(); });
    }
    scenario::Shown NetworksSettled() override {
        return Run({}, {}, [this] { tray_->NetworksSettled(); });
    }
    scenario::Shown Choose(const std::string& item, const std::vector<int>& answers,
                           const std::vector<std::string>& names) override {
        choice_ = item;
        return Run(answers, names, [this] { running_ = tray_->Menu() && running_; });
    }
    std::string Tooltip(const std::string& /*expected*/) override {
        tray_->Refresh();
        return tooltip_;
    }
    std::optional<std::vector<std::string>> Menu() override {
        choice_.clear();
        tray_->Menu();
        return menu_;
    }
    bool Exit() override {
        Choose("終了(&X)", {}, {});
        tray_->End();
        return !running_ && !iconShown_;
    }

    bool ShowIcon(bool /*proxyOn*/, const std::string& tooltip) override {
        iconShown_ = true;
        tooltip_ = tooltip;
        return true;
    }
    void RemoveIcon() override { iconShown_ = false; }
    void ShowBalloon(const std::string& text) override { shown_.balloons->push_back(text); }
    unsigned ShowMenu(const std::vector<MenuItem>& items) override {
        menu_.clear();
        unsigned chosen = 0;
        for (const MenuItem& item : items) {
            const std::string mark = item.checked ? "+ " : item.enabled ? "" : "( )";
            menu_.push_back(item.id == 0 ? "-" : mark + item.text);
            chosen = item.text == choice_ && item.enabled ? item.id : chosen;
        }
        return chosen;
    }
    int ShowMessage(std::string_view text, unsigned type) override {
        shown_.boxes.push_back({std::string(text), type, "Qeltrin Pro"});
        const std::size_t n = shown_.boxes.size();
        return n <= answers_.size() ? answers_[n - 1] : (type & 0xF) == kMbYesNo ? kIdYes : kIdOk;
    }
    std::optional<std::string> AskName(const std::string& /*initial*/) override {
        if (names_.empty()) {
            return std::nullopt;
        }
        std::string name = names_.front();
        names_.erase(names_.begin());
        return name;
    }
    bool StartDialog(std::string* /*path*/) override {
        shown_.dialogs.emplace_back("Qeltrin Pro");
        return true;
    }
    std::string ProgramPath() override { return "C:\\Program Files\\Qeltrin Pro\\vormet-tray.exe"; }
    void SettingsChanged() override { ++shown_.notifications; }

  private:
    template <class Action>
    scenario::Shown Run(const std::vector<int>& answers, const std::vector<std::string>& names,
                        Action action) {
        shown_ = {{}, {}, false, std::vector<std::string>{}, 0};
        answers_ = answers;
        names_ = names;
        action();
        return shown_;
    }

    NativeMachine& machine_;
    FakeCharset charset_;
    std::optional<Tray> tray_;
    scenario::Shown shown_;
    std::vector<int> answers_;
    std::vector<std::string> names_;
    std::string choice_;
    std::vector<std::string> menu_;
    std::string tooltip_;
    bool iconShown_ = false;
    bool running_ = true;
};

// A fresh machine and dialog; contentOnly: the URL cache lists its content
// entries only when no pattern is given, as Windows does.
inline scenario::Drivers NativeDrivers(bool contentOnly) {
    auto machine = std::make_unique<NativeMachine>();
    machine->cache.contentOnly = contentOnly;
    auto dialog = std::make_unique<SimWindow>(*machine);
    auto cli = std::make_unique<NativeCli>(*machine);
    auto tray = std::make_unique<NativeTray>(*machine);
    return {std::move(machine), std::move(dialog), std::move(cli), std::move(tray)};
}
