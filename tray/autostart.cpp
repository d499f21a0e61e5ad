#include "tray/autostart.h"

#include "store/text_format.h"

namespace {

// Longer than any path a command can hold.
constexpr std::uint32_t kMaxCommandBytes = 32768;

}  // namespace

bool StartsAtLogon(CRegistryAccess& registry, CharsetSeam& charset, const std::string& program) {
    std::string ansi;
    std::string command;
    if (registry.ReadString(kHkeyCurrentUser, kRunKey, kRunValue, &ansi, kMaxCommandBytes) !=
            ReadOutcome::kRead ||
        !charset.FromAnsi(ansi, &command)) {
        return false;
    }
    std::string_view path = command;
    if (!path.empty() && path.front() == '"') {
        path.remove_prefix(1);
        path = path.substr(0, path.find('"'));
    } else {
        path = path.substr(0, path.find(' '));
    }
    return LowerAscii(path) == LowerAscii(program);
}

AutostartChange SetStartAtLogon(CRegistryAccess& registry, CharsetSeam& charset,
                                const std::string& program, bool on) {
    if (!on) {
        if (!StartsAtLogon(registry, charset, program)) {
            return AutostartChange::kDone;
        }
        return registry.WriteRaw(kHkeyCurrentUser, kRunKey, kRunValue, std::nullopt)
                   ? AutostartChange::kDone
                   : AutostartChange::kFailed;
    }
    std::string ansi;
    if (!charset.ToAnsi(Concat({"\"", program, "\""}), &ansi)) {
        return AutostartChange::kNotInCodePage;
    }
    return registry.WriteString(kHkeyCurrentUser, kRunKey, kRunValue, ansi)
               ? AutostartChange::kDone
               : AutostartChange::kFailed;
}
