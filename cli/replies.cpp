#include "cli/replies.h"

#include "cli/cli_texts.h"
#include "profile/profile_store.h"
#include "store/text_format.h"
#include "texts/change_words.h"

int Usage(Console& console, std::string_view error) {
    Say(console, error, kExitUsage);
    console.Err(kTextUsage);
    return kExitUsage;
}

int Say(Console& console, std::initializer_list<std::string_view> message, int exitCode) {
    std::string line = Concat(message);
    line += '\n';
    console.Err(line);
    return exitCode;
}

int Done(CliServices& s, const Command& c, std::string_view what) {
    if (!c.Has(kOptionNoNotify)) {
        s.notifier.SettingsChanged();
    }
    s.console.Out(Concat({kTextDone, what, "\n"}));
    return kExitDone;
}

std::string Line(std::string_view label, std::string_view value) {
    std::string line(label);
    line += ": ";
    line += value;
    line += "\n";
    return line;
}

std::string AppFolderOrSay(CliServices& s) {
    std::string folder = AppFolder(s.userFiles);
    if (folder.empty()) {
        Say(s.console, kTextNoAppFolder, kExitFailed);
    }
    return folder;
}

int ChangeFailed(CliServices& s, const ChangeOutcome& outcome) {
    return Say(s.console, ChangeFailureText(outcome), kExitFailed);
}
