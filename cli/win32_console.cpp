#include "cli/win32_console.h"

#include <atomic>
#include <string>

#include "platform/win32_platform.h"
#include "platform/win32_encoding.h"
#include "store/text_format.h"

namespace {

std::atomic<bool> g_stopAsked{false};

BOOL WINAPI OnControl(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        g_stopAsked = true;
        return TRUE;
    }
    return FALSE;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

// Progress is redrawn at most this often.
constexpr ULONGLONG kProgressStepMs = 200;

}  // namespace

Win32Console::Win32Console()
    : out_(GetStdHandle(STD_OUTPUT_HANDLE)),
      err_(GetStdHandle(STD_ERROR_HANDLE)),
      in_(GetStdHandle(STD_INPUT_HANDLE)),
      errIsConsole_(IsConsole(err_)) {
    SetConsoleCtrlHandler(OnControl, TRUE);
}

Win32Console::~Win32Console() {
    SetConsoleCtrlHandler(OnControl, FALSE);
}

void Win32Console::Write(HANDLE handle, std::string_view text) {
    DWORD written = 0;
    if (IsConsole(handle)) {
        const std::wstring wide = Widen(text);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

bool Win32Console::ReadLine(std::string* line) {
    line->clear();
    char c = 0;
    DWORD got = 0;
    while (!g_stopAsked && ReadFile(in_, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n') {
            return true;
        }
        if (c != '\r') {
            *line += c;
        }
    }
    return !g_stopAsked && !line->empty();
}

bool Win32Console::Progress(std::size_t done) {
    if (errIsConsole_) {
        const ULONGLONG now = GetTickCount64();
        if (started_ == 0) {
            started_ = shown_ = now;
        } else if (now - shown_ >= kProgressStepMs) {
            shown_ = now;
            const ULONGLONG perSecond = done * 1000 / (now - started_);
            Err("\r" + Decimal(done) + " 件 (" + Decimal(perSecond) + " 件/秒)");
        }
    }
    return !g_stopAsked;
}

void Win32Console::EndProgress() {
    if (errIsConsole_ && shown_ != started_) {
        Err("\n");
    }
}
