#include <string>
#include <vector>

#include "change/undo.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/replies.h"
#include "profile/profile_store.h"
#include "store/text_format.h"
#include "texts/change_words.h"
#include "texts/setting_words.h"

// Puts back what the last changing command found, exactly, unless something
// else changed it since (or --force); tells each value it puts back.
int RunUndo(CliServices& s, const Command& c) {
    const std::string folder = AppFolderOrSay(s);
    if (folder.empty()) {
        return kExitFailed;
    }
    const std::string path = UndoPointPath(folder);
    UndoPoint point;
    switch (LoadUndoPoint(s.userFiles, path, &point)) {
        case UndoLoad::kLoaded:
            break;
        case UndoLoad::kNone:
            return Say(s.console, kTextNothingToUndo, kExitUsage);
        case UndoLoad::kUnreadable:
            return Say(s.console, {kTextUndoDamaged, path}, kExitFailed);
        case UndoLoad::kDamaged:
            return Say(s.console, {kTextUndoDamaged, path}, kExitUsage);
    }
    const std::vector<UndoStep> plan = PlanUndo(s.registry, point);
    const std::string changedSince = ChangedSinceList(plan);
    if (!changedSince.empty() && !c.Has(kOptionForce)) {
        return Say(s.console, {kTextChangedSince, changedSince}, kExitFailed);
    }
    for (const UndoStep& step : plan) {
        s.console.Out(
            Concat({SettingLabel(step.row), ": ", ShownSetting(step.row, step.now, s.charset),
                    kTextArrow, ShownSetting(step.row, step.restored, s.charset), "\n"}));
    }
    if (c.Has(kOptionDryRun)) {
        return kExitDone;
    }
    SettingChange change(s.registry, s.userFiles, path);
    const ChangeOutcome outcome = Undo(change, plan);
    switch (outcome.end) {
        case ChangeOutcome::kNothingToDo:
            s.console.Out(Concat({kTextUnchanged, "undo\n"}));
            return kExitDone;
        case ChangeOutcome::kFailed:
            return ChangeFailed(s, outcome);
        case ChangeOutcome::kDone:
            break;
    }
    if (!c.Has(kOptionNoNotify)) {
        s.notifier.SettingsChanged();
    }
    s.console.Out(Concat({kTextUndone, "\n"}));
    return kExitDone;
}
