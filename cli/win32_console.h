#pragma once
// The console program's terminal on Win32.
#include <windows.h>

#include "cli/console.h"

// Output goes to a console through the wide API, so Japanese reads correctly
// on any code page; redirected, it is UTF-8. Ctrl+C asks a long run to stop
// between two entries instead of ending the process at once.
class Win32Console final : public Console {
  public:
    Win32Console();
    ~Win32Console() override;
    Win32Console(const Win32Console&) = delete;
    Win32Console& operator=(const Win32Console&) = delete;

    void Out(std::string_view text) override { Write(out_, text); }
    void Err(std::string_view text) override { Write(err_, text); }
    bool ReadLine(std::string* line) override;
    bool Progress(std::size_t done) override;
    void EndProgress() override;

  private:
    static void Write(HANDLE handle, std::string_view text);

    HANDLE out_;
    HANDLE err_;
    HANDLE in_;
    bool errIsConsole_;
    ULONGLONG started_ = 0;
    ULONGLONG shown_ = 0;
};
