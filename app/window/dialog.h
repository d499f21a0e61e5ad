#pragma once
// A dialog is a message map plus handlers. Two drivers run the same map: the
// Win32 dialog procedure, and the simulated window system of the tests.
#include <cstdint>
#include <optional>

#include "app/window/window_ops.h"

// Window messages and notifications the maps bind (Win32 values).
constexpr std::uint32_t kWmPaint = 0x000F;
constexpr std::uint32_t kWmQueryDragIcon = 0x0037;
constexpr std::uint32_t kWmHelp = 0x0053;
constexpr std::uint32_t kWmInitDialog = 0x0110;
constexpr std::uint32_t kWmCommand = 0x0111;
constexpr std::uint32_t kWmSysCommand = 0x0112;
constexpr unsigned kBnClicked = 0;

struct DialogMessage {
    std::uint32_t msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

inline DialogMessage ClickMessage(int id) {
    return {kWmCommand, static_cast<std::uintptr_t>(id & 0xFFFF) | (kBnClicked << 16), 0};
}
inline int ControlId(const DialogMessage& m) {
    return static_cast<int>(m.wParam & 0xFFFF);
}
inline unsigned Notification(const DialogMessage& m) {
    return static_cast<unsigned>((m.wParam >> 16) & 0xFFFF);
}

// The handler's result; empty means: leave it to the default handling.
using MessageResult = std::optional<std::intptr_t>;

class Dialog {
  public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return templateId_; }
    // The driver attaches its window before the first message.
    void Attach(WindowOps& window) { window_ = &window; }
    virtual MessageResult HandleMessage(const DialogMessage& m) = 0;

  protected:
    WindowOps& Window() { return *window_; }

  private:
    int templateId_;
    WindowOps* window_ = nullptr;
};

// One row of a message map: a message, or the click of a control id range.
template <class D>
struct MessageMapEntry {
    std::uint32_t msg;
    int firstId;
    int lastId;
    MessageResult (D::*handler)(const DialogMessage&);
};

template <class D>
constexpr MessageMapEntry<D> OnMessage(std::uint32_t msg,
                                       MessageResult (D::*handler)(const DialogMessage&)) {
    return {msg, 0, 0, handler};
}

template <class D>
constexpr MessageMapEntry<D> OnClicks(int firstId, int lastId,
                                      MessageResult (D::*handler)(const DialogMessage&)) {
    return {kWmCommand, firstId, lastId, handler};
}

// Runs the first row that matches; the map is searched in table order.
template <class D, std::size_t N>
MessageResult Dispatch(D& dialog, const MessageMapEntry<D> (&map)[N], const DialogMessage& m) {
    for (const auto& entry : map) {
        if (entry.msg != m.msg) {
            continue;
        }
        if (m.msg == kWmCommand) {
            const int id = ControlId(m);
            if (Notification(m) != kBnClicked || id < entry.firstId || id > entry.lastId) {
                continue;
            }
        }
        return (dialog.*entry.handler)(m);
    }
    return std::nullopt;
}
