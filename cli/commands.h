#pragma once
// What the commands share: how they tell what happened, and the commands of
// their own files.
#include <string>

#include "cli/cli.h"
#include "cli/command_line.h"
#include "profile/undo_point.h"

// A usage error: the message, then the usage line; nothing was written.
int Usage(Console& console, const std::string& error);
// The message on standard error, and the exit code.
int Say(Console& console, const std::string& message, int exitCode);
// Tells running programs, unless asked not to, and says what was set.
int Changed(CliServices& s, const Command& c, const std::string& what);

// The console's folder; empty after saying that it cannot be found.
std::string AppFolderOrSay(CliServices& s);
// After a write of the setting failed: says so in the dialog's words, puts
// back what the command changed, and says whether that worked.
int RollBack(CliServices& s, UndoRecorder& recorder, std::size_t row);

// The commands that change settings run with a recorder, which keeps the way
// back.
int RunProfileSave(CliServices& s, const Command& c);
int RunProfileApply(CliServices& s, const Command& c, UndoRecorder& recorder);
int RunProfileList(CliServices& s, const Command& c);
int RunProfileShow(CliServices& s, const Command& c);
int RunProfileDelete(CliServices& s, const Command& c);
int RunUndo(CliServices& s, const Command& c, UndoRecorder& recorder);
