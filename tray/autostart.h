#pragma once
// Starting the tray at log-on: the value "Qeltrin Pro" under the user's Run
// key, the tray's own and no part of undo.
#include <string>

#include "store/charset_seam.h"
#include "store/registry_access.h"

inline constexpr const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char kRunValue[] = "Qeltrin Pro";

// Whether the value starts the program at this path (UTF-8): its command,
// quoted or not, names that very file.
bool StartsAtLogon(CRegistryAccess& registry, CharsetSeam& charset, const std::string& program);

enum class AutostartChange { kDone, kNotInCodePage, kFailed };
// On: the full path, quoted, as REG_SZ. Off: deletes the value, and only
// when it names this program.
AutostartChange SetStartAtLogon(CRegistryAccess& registry, CharsetSeam& charset,
                                const std::string& program, bool on);
