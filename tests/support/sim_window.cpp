#include "tests/support/sim_window.h"

#include <stdexcept>

SimWindow::SimWindow(std::string title) : title_(std::move(title)) {
    for (const ControlLayout& layout : kMainDialogLayout) {
        Control control;
        control.layout = layout;
        controls_.push_back(control);
    }
}

SimWindow::Control& SimWindow::At(int id) {
    for (Control& control : controls_) {
        if (control.layout.id == id) {
            return control;
        }
    }
    throw std::out_of_range("no control " + std::to_string(id));
}

void SimWindow::Open(Dialog& dialog) {
    dialog_ = &dialog;
    dialog.Attach(*this);
    dialog.HandleMessage({kWmInitDialog, 0, 0});
    DeliverPosted();
}

void SimWindow::DeliverPosted() {
    while (!posted_.empty()) {
        const int id = posted_.front();
        posted_.pop_front();
        Click(id);
    }
}

void SimWindow::Click(int id) {
    Control& control = At(id);
    if (!control.enabled) {
        return;
    }
    if (control.layout.kind == ControlKind::AutoRadio) {
        // The group runs from its group-start control to the next one.
        std::size_t index = static_cast<std::size_t>(&control - controls_.data());
        std::size_t first = index;
        while (first > 0 && !controls_[first].layout.group) {
            --first;
        }
        for (std::size_t i = first; i < controls_.size(); ++i) {
            if (i != first && controls_[i].layout.group) {
                break;
            }
            if (controls_[i].layout.kind == ControlKind::AutoRadio) {
                controls_[i].checked = false;
            }
        }
        control.checked = true;
    } else if (control.layout.kind == ControlKind::AutoCheck) {
        control.checked = !control.checked;
    }
    if (dialog_ != nullptr) {
        dialog_->HandleMessage(ClickMessage(id));
    }
}

void SimWindow::Type(int id, const std::string& text) {
    Control& control = At(id);
    control.text =
        control.limit != 0 && text.size() > control.limit ? text.substr(0, control.limit) : text;
}

std::vector<int> SimWindow::CheckedIds() const {
    std::vector<int> ids;
    for (const Control& control : controls_) {
        if (control.checked) {
            ids.push_back(control.layout.id);
        }
    }
    return ids;
}

int SimWindow::ShowMessage(std::string_view text, unsigned type) {
    boxes_.push_back(Box{std::string(text), title_, type, "main dialog"});
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return (type & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
}

bool SimWindow::PaintIfMinimized() {
    if (!iconic) {
        return false;
    }
    ++iconPaints_;
    return true;
}

std::string SimWindow::LoadResourceString(int id) {
    ++stringLoads;
    const auto found = strings.find(id);
    return found == strings.end() ? std::string() : found->second;
}

int SimWindow::RunModal(Dialog& dialog) {
    // The nested dialog is not driven: the user ends it at once, by Cancel.
    modalRuns.push_back(dialog.TemplateId());
    return kIdCancel;
}
