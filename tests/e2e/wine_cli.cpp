#include "tests/e2e/wine_cli.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32_encoding.h"

namespace {

// One argument as the C runtime splits a command line: in quotes when empty
// or holding a blank or a quote, where a quote and the backslashes right
// before it, or before the closing quote, are escaped by backslashes.
std::wstring Quoted(const std::string& utf8) {
    const std::wstring arg = Widen(utf8);
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return arg;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'"') {
            quoted.append(backslashes + 1, L'\\');
        }
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        quoted += c;
    }
    return quoted.append(backslashes, L'\\') + L'"';
}

// A scratch file holding bytes, read from its start by the program that
// inherits it as a standard stream; gone once closed.
HANDLE Scratch(const std::string& bytes = "") {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"cli", 0, path);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    &inherited, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return file;
}

std::string ReadAndClose(HANDLE file) {
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);  // the program's writes moved it
    ReadFile(file, bytes.data(), bytes.size(), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

}  // namespace

WineCli::WineCli(std::wstring exe, std::wstring directory)
    : exe_(std::move(exe)), directory_(std::move(directory)) {}

scenario::CliRun WineCli::Run(const std::vector<std::string>& args, const std::string& input) {
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    for (const std::string& arg : args) {
        commandLine += L" " + Quoted(arg);
    }
    scenario::CliRun run;
    // Windows refuses a longer one; Wine would cut it short instead.
    if (commandLine.size() >= 32767) {
        ADD_FAILURE() << "no command line holds " << commandLine.size() << " characters";
        return run;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Scratch(input);
    startup.hStdOutput = Scratch();
    startup.hStdError = Scratch();
    PROCESS_INFORMATION process{};
    DWORD exitCode = 0;
    if (!CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, directory_.c_str(), &startup, &process)) {
        ADD_FAILURE() << "could not start the program";
    } else if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program hangs";
        TerminateProcess(process.hProcess, 1);
    } else if (GetExitCodeProcess(process.hProcess, &exitCode)) {
        run.exitCode = static_cast<int>(exitCode);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(startup.hStdInput);
    run.out = ReadAndClose(startup.hStdOutput);
    run.err = ReadAndClose(startup.hStdError);
    return run;
}
