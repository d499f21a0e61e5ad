#include "app/about/about_box.h"

#include <string>

#include "resources/resource.h"

CAboutBox::CAboutBox() : Dialog(IDD_ABOUTBOX) {}

MessageResult CAboutBox::HandleMessage(const DialogMessage& /*m*/) {
    // An empty message map: every message goes to the default handling.
    return std::nullopt;
}

void AddAboutMenuEntry(WindowOps& window) {
    if (!window.HasSystemMenu()) {
        return;
    }
    const std::string text = window.LoadResourceString(IDS_ABOUTBOX);
    if (text.empty()) {
        return;
    }
    window.AppendSystemMenuSeparator();
    window.AppendSystemMenuItem(IDM_ABOUTBOX, text);
}

bool IsAboutCommand(std::uintptr_t command) {
    return (command & ~std::uintptr_t{0xF}) == IDM_ABOUTBOX;
}

void ShowAboutBox(WindowOps& window) {
    CAboutBox box;
    window.RunModal(box);
}
