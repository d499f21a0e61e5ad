#pragma once
// The commands, one function each, by the file that holds them; the verb
// table (command_line.cpp) names which runs for which words.
#include "cli/cli.h"
#include "cli/command_line.h"

// show_commands.cpp: what changes nothing.
int RunHelp(CliServices& s, const Command& c);
int RunVersion(CliServices& s, const Command& c);
int RunStatus(CliServices& s, const Command& c);

// network_command.cpp: the networks, and the profile for them.
int RunNetwork(CliServices& s, const Command& c);

// switch_commands.cpp: one setting, or the five of a preset.
int RunZone(CliServices& s, const Command& c);
int RunPreset(CliServices& s, const Command& c);
int RunProxySwitch(CliServices& s, const Command& c);
int RunProxyServer(CliServices& s, const Command& c);
int RunProxyBypass(CliServices& s, const Command& c);
int RunProxyLocal(CliServices& s, const Command& c);

// cache_command.cpp
int RunCacheClean(CliServices& s, const Command& c);

// profile_commands.cpp
int RunProfileSave(CliServices& s, const Command& c);
int RunProfileApply(CliServices& s, const Command& c);
int RunProfileAuto(CliServices& s, const Command& c);
int RunProfileNetworks(CliServices& s, const Command& c);
int RunProfileList(CliServices& s, const Command& c);
int RunProfileShow(CliServices& s, const Command& c);
int RunProfileDelete(CliServices& s, const Command& c);

// undo_command.cpp
int RunUndo(CliServices& s, const Command& c);
