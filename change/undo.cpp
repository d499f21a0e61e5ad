#include "change/undo.h"

UndoLoad LoadUndoPoint(UserFileSeam& files, const std::string& path, UndoPoint* point) {
    std::string text;
    switch (files.LoadFile(path, MaxUndoPointBytes(), &text)) {
        case FileOutcome::kDone:
            break;
        case FileOutcome::kMissing:
            return UndoLoad::kNone;
        case FileOutcome::kFailed:
            return UndoLoad::kUnreadable;
    }
    std::optional<UndoPoint> parsed = ParseUndoPoint(text);
    if (!parsed) {
        return UndoLoad::kDamaged;
    }
    *point = std::move(*parsed);
    return UndoLoad::kLoaded;
}

std::vector<UndoStep> PlanUndo(CRegistryAccess& registry, const UndoPoint& point) {
    std::vector<UndoStep> plan;
    for (const ValueChange& change : point) {
        std::optional<RawValue> now;
        const ReadOutcome read = ReadStored(registry, change.row, &now);
        const bool unreadable = read == ReadOutcome::kUnreadable;
        const UndoState state = unreadable ? UndoState::kChangedSince : StateOf(change, now);
        if (state != UndoState::kAsFound) {
            plan.push_back({change.row,
                            unreadable ? SettingReading{read, {}} : ReadingOf(change.row, now),
                            ReadingOf(change.row, change.before), change.before,
                            state == UndoState::kChangedSince});
        }
    }
    return plan;
}

ChangeOutcome Undo(SettingChange& change, const std::vector<UndoStep>& plan) {
    for (const UndoStep& step : plan) {
        if (!change.WriteRaw(step.row, step.before)) {
            return RolledBack(change, step.row);
        }
    }
    return {plan.empty() ? ChangeOutcome::kNothingToDo : ChangeOutcome::kDone};
}
