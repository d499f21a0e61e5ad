#pragma once
// Undo: puts back what the last change found, exactly, unless something else
// changed it since; being a change itself, it becomes the next undo point, so
// a second undo redoes.
#include <string>
#include <vector>

#include "change/setting_change.h"

enum class UndoLoad { kLoaded, kNone, kUnreadable, kDamaged };
UndoLoad LoadUndoPoint(UserFileSeam& files, const std::string& path, UndoPoint* point);

struct UndoStep {
    std::size_t row = 0;
    SettingReading now;       // what it holds, as status words it
    SettingReading restored;  // what undo puts back
    std::optional<RawValue> before;
    bool changedSince = false;
};

// The values to put back: those not as the change found them. A value that
// cannot be read cannot be shown to be the one written: changed since.
std::vector<UndoStep> PlanUndo(CRegistryAccess& registry, const UndoPoint& point);
ChangeOutcome Undo(SettingChange& change, const std::vector<UndoStep>& plan);
