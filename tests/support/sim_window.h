#pragma once
// The scenario drivers without Windows: a machine of in-memory stand-ins, and
// the main dialog in a simulated window system that behaves like user32 where
// the dialog relies on it: posted clicks queue until the handler that posted
// them returns and come in order, an auto radio button clears its group, an
// auto check box toggles and then notifies, BM_SETCHECK notifies nobody, a
// disabled control takes no clicks, and message boxes are answered from a
// script and logged.
#include <deque>
#include <optional>

#include "app/settings_dlg.h"
#include "tests/scenario/interpreter.h"
#include "tests/support/fakes.h"

class NativeMachine : public scenario::Machine {
  public:
    FakeRegistry registry;
    CRegistryAccess access{registry};
    FakeFiles files;
    FakeUrlCache cache;

    void Clean() override;
    void SetValue(scenario::Root root, const std::string& key, const std::string& name,
                  const std::optional<scenario::RegValue>& value) override;
    std::optional<scenario::RegValue> Value(scenario::Root root, const std::string& key,
                                            const std::string& name) override;
    void MakeReadOnly(scenario::Root root, const std::string& key) override;
    void SetServerList(const std::string& bytes) override;
    void AddCacheEntry(const scenario::CacheEntry& entry) override;
    std::vector<scenario::CacheEntry> CacheEntries() override;
};

class SimWindow : public WindowOps, public scenario::DialogDriver {
  public:
    explicit SimWindow(NativeMachine& machine) : machine_(machine) {}

    // The window system around the dialog, as a test may set it.
    bool hasSystemMenu = true;
    std::map<int, std::string> strings{{101, "Vormet のﾊﾞｰｼﾞｮﾝ情報(&A)..."}};

    scenario::Shown Open(const std::vector<int>& answers) override;
    scenario::Shown Click(int id, const std::vector<int>& answers) override;
    scenario::Shown SystemCommand(unsigned command, const std::vector<int>& answers) override;
    scenario::Shown PressF1() override;
    void Type(int id, const std::string& ansi) override;
    bool Checked(int id) override { return controls_.at(id).checked; }
    bool Enabled(int id) override { return controls_.at(id).enabled; }
    std::string Text(int id) override { return controls_.at(id).text; }
    std::vector<std::string> Items(int id) override { return controls_.at(id).items; }
    std::vector<scenario::MenuItem> SystemMenu() override { return menu_; }
    bool MinimizedShowsIcon() override;
    bool Close(scenario::CloseBy how) override;

    void PostClick(int id) override { posted_.push_back(id); }
    bool IsChecked(int id) override { return controls_.at(id).checked; }
    void SetCheck(int id, bool checked) override { controls_.at(id).checked = checked; }
    void Enable(int id, bool enabled) override { controls_.at(id).enabled = enabled; }
    std::string GetText(int id) override { return controls_.at(id).text; }
    void SetText(int id, const std::string& text) override { controls_.at(id).text = text; }
    void AddComboItem(int id, const std::string& text) override;
    void LimitText(int id, std::size_t maxBytes) override { controls_.at(id).limit = maxBytes; }
    int ShowMessage(std::string_view text, unsigned type) override;
    void SetIcons() override { ++iconSets_; }
    bool PaintIfMinimized() override { return iconic_ && ++iconPaints_ != 0; }
    std::intptr_t DragIcon() override { return kIcon; }
    void OpenHelp() override { shown_.help = true; }
    bool HasSystemMenu() override { return hasSystemMenu; }
    void AppendSystemMenuSeparator() override { menu_.push_back({}); }
    void AppendSystemMenuItem(unsigned command, std::string_view text) override {
        menu_.push_back({command, std::string(text)});
    }
    std::string LoadResourceString(int id) override;
    int RunModal(Dialog& dialog) override;

  private:
    static constexpr std::intptr_t kIcon = 0x128;
    struct Control {
        int group = 0;  // the first radio button of its group; 0: no radio button
        bool checkBox = false;
        bool checked = false;
        bool enabled = true;
        std::string text;
        std::vector<std::string> items;
        std::size_t limit = 0;  // 0: none
    };
    // Runs what the user did, then the clicks it posted.
    template <class Action>
    scenario::Shown Run(const std::vector<int>& answers, Action action);
    void Press(int id);
    MessageResult Send(std::uint32_t msg, std::uintptr_t wParam = 0);

    NativeMachine& machine_;
    std::optional<CSettingsDlg> dialog_;
    std::map<int, Control> controls_;
    std::deque<int> posted_;
    std::deque<int> answers_;
    scenario::Shown shown_;
    std::vector<scenario::MenuItem> menu_;
    bool iconic_ = false;
    int iconSets_ = 0;
    int iconPaints_ = 0;
};

// A fresh machine and dialog; contentOnly: the URL cache lists its content
// entries only when no pattern is given, as Windows does.
scenario::Drivers NativeDrivers(bool contentOnly);
