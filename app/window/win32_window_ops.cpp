#include "app/window/win32_window_ops.h"

#include "app/window/win32_application.h"
#include "resources/resource.h"
#include "platform/win32_encoding.h"

Win32WindowOps::Win32WindowOps(ModalRunner runModal)
    : runModal_(runModal),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

void Win32WindowOps::PostClick(int id) {
    PostMessageA(Item(id), BM_CLICK, 0, 0);
}

bool Win32WindowOps::IsChecked(int id) {
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WindowOps::SetCheck(int id, bool checked) {
    SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32WindowOps::Enable(int id, bool enabled) {
    EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

std::string Win32WindowOps::GetText(int id) {
    const HWND item = Item(id);
    const int length = GetWindowTextLengthA(item);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(item, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void Win32WindowOps::SetText(int id, const std::string& text) {
    SetWindowTextA(Item(id), text.c_str());
}

void Win32WindowOps::AddComboItem(int id, const std::string& text) {
    SendMessageA(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32WindowOps::LimitText(int id, std::size_t maxBytes) {
    const HWND item = Item(id);
    char className[16] = {};
    GetClassNameA(item, className, sizeof className);
    const UINT message = lstrcmpiA(className, "ComboBox") == 0 ? CB_LIMITTEXT : EM_LIMITTEXT;
    SendMessageA(item, message, maxBytes, 0);
}

namespace {

// Often enough to repaint smoothly; the system takes a window for hung after
// five seconds without a look at its queue.
constexpr ULONGLONG kAnswerEveryMs = 50;
// A bound on what one look handles, so a run never stalls on its window.
constexpr int kMessagesPerLook = 64;

// Keyboard and mouse input, also what is posted as such, goes nowhere.
void DropInput() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

}  // namespace

void Win32WindowOps::SetBusy(bool busy) {
    busy_ = busy;
    answered_ = GetTickCount64();
    if (!busy) {
        DropInput();
    }
    SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

// Sent messages (the system's, another program's) are answered inside
// PeekMessage; paint requests are handled; input is dropped, so no other
// control runs until the run ends.
void Win32WindowOps::KeepResponsive() {
    if (GetTickCount64() - answered_ < kAnswerEveryMs) {
        return;
    }
    MSG msg;
    for (int i = 0; i < kMessagesPerLook &&
                    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE);
         ++i) {
        DispatchMessageW(&msg);
    }
    DropInput();
    answered_ = GetTickCount64();
}

int Win32WindowOps::ShowMessage(std::string_view text, unsigned type) {
    return MessageBoxW(dialog_, Widen(text).c_str(), ApplicationTitle().c_str(), type);
}

void Win32WindowOps::OpenHelp() {
    OpenApplicationHelp(dialog_);
}

void Win32WindowOps::SetIcons() {
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
}

bool Win32WindowOps::PaintIfMinimized() {
    if (!IsIconic(dialog_)) {
        return false;
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(dialog_, &paint);
    SendMessageW(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(dialog_, &paint);
    return true;
}

std::intptr_t Win32WindowOps::DragIcon() {
    return reinterpret_cast<std::intptr_t>(icon_);
}

bool Win32WindowOps::HasSystemMenu() {
    return GetSystemMenu(dialog_, FALSE) != nullptr;
}

void Win32WindowOps::AppendSystemMenuSeparator() {
    AppendMenuW(GetSystemMenu(dialog_, FALSE), MF_SEPARATOR, 0, nullptr);
}

void Win32WindowOps::AppendSystemMenuItem(unsigned command, std::string_view text) {
    AppendMenuW(GetSystemMenu(dialog_, FALSE), MF_STRING, command, Widen(text).c_str());
}

std::string Win32WindowOps::LoadResourceString(int id) {
    // With a zero size, LoadStringW hands out the resource's own text in place.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                   reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return {};
    }
    return Narrow(std::wstring_view(text, static_cast<std::size_t>(length)));
}

int Win32WindowOps::RunModal(Dialog& dialog) {
    return static_cast<int>(runModal_(dialog, dialog_));
}
