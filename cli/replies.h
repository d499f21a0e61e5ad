#pragma once
// How the console replies: what it prints for each kind of outcome, and its
// exit codes. The commands tell what happened; the words are here.
#include <string>
#include <string_view>

#include "change/setting_change.h"
#include "cli/cli.h"
#include "cli/command_line.h"

// A usage error: the message, then the usage line; nothing was written.
int Usage(Console& console, std::string_view error);
// The message, of these parts, on standard error; and the exit code.
int Say(Console& console, std::initializer_list<std::string_view> message, int exitCode);
inline int Say(Console& console, std::string_view message, int exitCode) {
    return Say(console, {message}, exitCode);
}
// Tells running programs, unless asked not to, and says what was set.
int Done(CliServices& s, const Command& c, std::string_view what);
// "label: value", a line.
std::string Line(std::string_view label, std::string_view value);

// The console's folder; empty after saying that it cannot be found.
std::string AppFolderOrSay(CliServices& s);
// After a change of several settings failed: why, and whether it was all
// put back.
int ChangeFailed(CliServices& s, const ChangeOutcome& outcome);
