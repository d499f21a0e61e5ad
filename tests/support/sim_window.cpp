#include "tests/support/sim_window.h"

#include "resources/resource.h"

namespace {

RegKey RootOf(scenario::Root root) {
    return root == scenario::Root::kCurrentUser ? kHkeyCurrentUser : kHkeyLocalMachine;
}

}  // namespace

void NativeMachine::Clean() {
    registry.keys.clear();
    registry.readOnly.clear();
    files.files.clear();
    cache.entries.clear();
}

void NativeMachine::SetValue(scenario::Root root, const std::string& key, const std::string& name,
                             const std::optional<scenario::RegValue>& value) {
    registry.Put(
        RootOf(root), key, name,
        value ? std::optional<FakeRegistry::Value>({value->type, value->bytes}) : std::nullopt);
}

std::optional<scenario::RegValue> NativeMachine::Value(scenario::Root root, const std::string& key,
                                                       const std::string& name) {
    const auto values = registry.keys.find({RootOf(root), Fold(key)});
    if (values == registry.keys.end() || values->second.count(Fold(name)) == 0) {
        return std::nullopt;
    }
    const FakeRegistry::Value& value = values->second.at(Fold(name));
    return scenario::RegValue{value.type, value.bytes};
}

void NativeMachine::MakeReadOnly(scenario::Root root, const std::string& key) {
    registry.keys[{RootOf(root), Fold(key)}];
    registry.readOnly.insert({RootOf(root), Fold(key)});
}

void NativeMachine::SetServerList(const std::string& bytes) {
    files.files[Fold(files.directory + "\\server.pxy")] = bytes;
}

void NativeMachine::AddCacheEntry(const scenario::CacheEntry& entry) {
    cache.Add(entry.url, entry.cookie);
}

std::vector<scenario::CacheEntry> NativeMachine::CacheEntries() {
    std::vector<scenario::CacheEntry> entries;
    for (const auto& [serial, entry] : cache.entries) {
        entries.push_back({entry.url, (entry.type & kCookieCacheEntry) != 0});
    }
    return entries;
}

template <class Action>
scenario::Shown SimWindow::Run(const std::vector<int>& answers, Action action) {
    answers_.assign(answers.begin(), answers.end());
    shown_ = {};
    action();
    while (!posted_.empty()) {
        const int id = posted_.front();
        posted_.pop_front();
        Press(id);
    }
    return shown_;
}

MessageResult SimWindow::Send(std::uint32_t msg, std::uintptr_t wParam) {
    return dialog_->HandleMessage({msg, wParam, 0});
}

scenario::Shown SimWindow::Open(const std::vector<int>& answers) {
    // The radio groups run from one group-start button to the next.
    for (const auto& [first, end] :
         {std::pair{1000, 1003}, {1003, 1006}, {1006, 1010}, {1013, 1016}, {1016, 1019}}) {
        for (int id = first; id < end; ++id) {
            controls_[id].group = first;
        }
    }
    for (const int id : {IDC_PROXY_ENABLE, IDC_PROXY_LOCAL}) {
        controls_[id].checkBox = true;
    }
    for (const int id : {1012, 1020, 1021, 1022, 1025, 1026, 1027, 1028, 1029, 1030}) {
        controls_[id];
    }
    dialog_.emplace(SettingsServices{machine_.access, machine_.files, machine_.cache});
    dialog_->Attach(*this);
    return Run(answers, [this] { Send(kWmInitDialog); });
}

scenario::Shown SimWindow::Click(int id, const std::vector<int>& answers) {
    return Run(answers, [this, id] { Press(id); });
}

scenario::Shown SimWindow::SystemCommand(unsigned command, const std::vector<int>& answers) {
    return Run(answers, [this, command] { Send(kWmSysCommand, command); });
}

scenario::Shown SimWindow::PressF1() {
    return Run({}, [this] { Send(kWmHelp); });
}

void SimWindow::Press(int id) {
    Control& control = controls_.at(id);
    if (!control.enabled) {
        return;
    }
    for (auto& [other, state] : controls_) {
        state.checked = control.group != 0 && state.group == control.group ? false : state.checked;
    }
    control.checked = control.group != 0 || (control.checkBox && !control.checked);
    Send(kWmCommand, ClickMessage(id).wParam);
}

void SimWindow::Type(int id, const std::string& ansi) {
    Control& control = controls_.at(id);
    control.text = ansi.substr(0, control.limit != 0 ? control.limit : ansi.size());
}

bool SimWindow::MinimizedShowsIcon() {
    const bool normal = !Send(kWmPaint) && iconPaints_ == 0;
    iconic_ = true;
    const bool minimized = Send(kWmPaint) && iconPaints_ == 1;
    iconic_ = false;
    return iconSets_ == 1 && normal && minimized && Send(kWmQueryDragIcon) == kIcon;
}

bool SimWindow::Close(scenario::CloseBy how) {
    // The base dialog ends on OK (Enter outside a push button) and on Cancel
    // (Esc, and the close box's command).
    if (how == scenario::CloseBy::kCloseBox && Send(kWmSysCommand, 0xF060)) {
        return false;
    }
    return !Send(kWmCommand,
                 ClickMessage(how == scenario::CloseBy::kEnter ? kIdOk : kIdCancel).wParam);
}

void SimWindow::AddComboItem(int id, const std::string& text) {
    controls_.at(id).items.push_back(text);
}

int SimWindow::ShowMessage(std::string_view text, unsigned type) {
    shown_.boxes.push_back({std::string(text), type, "Vormet"});
    const int answer =
        answers_.empty() ? ((type & 0xF) == kMbYesNo ? kIdYes : kIdOk) : answers_.front();
    if (!answers_.empty()) {
        answers_.pop_front();
    }
    return answer;
}

std::string SimWindow::LoadResourceString(int id) {
    return strings.count(id) != 0 ? strings.at(id) : std::string();
}

int SimWindow::RunModal(Dialog& dialog) {
    // The box is ended by its OK, which its own map must leave to the base.
    const bool ends = !dialog.HandleMessage(ClickMessage(kIdOk));
    shown_.dialogs.push_back(dialog.TemplateId() == IDD_ABOUTBOX && ends ? "ﾊﾞｰｼﾞｮﾝ情報"
                                                                         : "another dialog");
    return kIdOk;
}

scenario::Drivers NativeDrivers(bool contentOnly) {
    auto machine = std::make_unique<NativeMachine>();
    machine->cache.contentOnly = contentOnly;
    auto dialog = std::make_unique<SimWindow>(*machine);
    return {std::move(machine), std::move(dialog), nullptr};
}
