#pragma once
// A simulated window system that drives a dialog's message map the way user32
// does where the logic relies on it: posted clicks queue until the init handler
// returns, auto radio buttons clear their group, auto check boxes toggle before
// they notify, BM_SETCHECK notifies nobody, disabled controls take no clicks,
// and message boxes are answered from a script and logged.
#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/window/dialog.h"
#include "tests/support/main_dialog_layout.h"

class SimWindow : public WindowOps {
  public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type;
        std::string owner;
    };
    struct Control {
        ControlLayout layout{};
        bool checked = false;
        bool enabled = true;
        std::string text;
        std::vector<std::string> items;
        std::size_t limit = 0;  // 0: the platform's default
    };

    explicit SimWindow(std::string title = "Vormet");

    // Runs the init handler, then delivers what it posted.
    void Open(Dialog& dialog);
    // A user's click: ignored while disabled, then as the control's kind does.
    void Click(int id);
    // Delivers queued clicks in order, including any they post in turn.
    void DeliverPosted();
    // Types into an edit box or a combo box's field, as far as its limit allows.
    void Type(int id, const std::string& text);

    // Answers for the next message boxes, in order; unscripted boxes take the
    // first button.
    void Answer(int answer) { answers_.push_back(answer); }

    Control& At(int id);
    bool Checked(int id) { return At(id).checked; }
    bool Enabled(int id) { return At(id).enabled; }
    const std::vector<Box>& Boxes() const { return boxes_; }
    std::vector<int> CheckedIds() const;
    std::size_t PaintsOfIcon() const { return iconPaints_; }
    bool iconic = false;
    // What the window's system menu got appended; a separator has command 0.
    struct MenuItem {
        unsigned command;
        std::string text;
    };
    bool hasSystemMenu = true;
    std::vector<MenuItem> systemMenu;
    // The executable's string table, as the resource script has it.
    std::map<int, std::string> strings{{IDS_ABOUTBOX, "Vormet のﾊﾞｰｼﾞｮﾝ情報(&A)..."}};
    std::size_t stringLoads = 0;
    // Template ids of the dialogs run modally over this one, in order.
    std::vector<int> modalRuns;
    std::size_t helpRequests = 0;
    std::size_t iconSets = 0;

    // WindowOps
    void PostClick(int id) override { posted_.push_back(id); }
    bool IsChecked(int id) override { return At(id).checked; }
    void SetCheck(int id, bool checked) override { At(id).checked = checked; }
    void Enable(int id, bool enabled) override { At(id).enabled = enabled; }
    std::string GetText(int id) override { return At(id).text; }
    void SetText(int id, const std::string& text) override { At(id).text = text; }
    void AddComboItem(int id, const std::string& text) override { At(id).items.push_back(text); }
    void LimitText(int id, std::size_t maxBytes) override { At(id).limit = maxBytes; }
    int ShowMessage(std::string_view text, unsigned type) override;
    void SetIcons() override { ++iconSets; }
    bool PaintIfMinimized() override;
    std::intptr_t DragIcon() override { return kIconHandle; }
    void OpenHelp() override { ++helpRequests; }
    bool HasSystemMenu() override { return hasSystemMenu; }
    void AppendSystemMenuSeparator() override { systemMenu.push_back({0, {}}); }
    void AppendSystemMenuItem(unsigned command, std::string_view text) override {
        systemMenu.push_back({command, std::string(text)});
    }
    std::string LoadResourceString(int id) override;
    int RunModal(Dialog& dialog) override;

    static constexpr std::intptr_t kIconHandle = 0x128;

  private:
    std::string title_;
    Dialog* dialog_ = nullptr;
    std::vector<Control> controls_;
    std::deque<int> posted_;
    std::deque<int> answers_;
    std::vector<Box> boxes_;
    std::size_t iconPaints_ = 0;
};
