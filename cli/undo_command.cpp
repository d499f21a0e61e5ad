#include <string>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/status.h"
#include "profile/profile_store.h"

// Puts back what the last changing command found, exactly, unless something
// else changed it since; its own changes become the next undo point, so a
// second undo redoes.
int RunUndo(CliServices& s, const Command& c, UndoRecorder& recorder) {
    const std::string folder = AppFolderOrSay(s);
    if (folder.empty()) {
        return kExitFailed;
    }
    const std::string path = UndoPointPath(folder);
    std::string text;
    switch (s.userFiles.LoadFile(path, kMaxUndoPointBytes, &text)) {
        case FileOutcome::kDone:
            break;
        case FileOutcome::kMissing:
            return Say(s.console, kTextNothingToUndo, kExitUsage);
        case FileOutcome::kFailed:
            return Say(s.console, kTextUndoDamaged + path, kExitFailed);
    }
    const std::optional<UndoPoint> point = ParseUndoPoint(text);
    if (!point) {
        return Say(s.console, kTextUndoDamaged + path, kExitUsage);
    }

    std::vector<std::optional<RawValue>> now(point->size());
    std::vector<SettingReading> shown(point->size());  // now, as status words it
    std::vector<std::size_t> restore;                  // of the point's changes
    std::string changedSince;
    for (std::size_t i = 0; i < point->size(); ++i) {
        const SettingRow& row = SettingTable[(*point)[i].row];
        RawValue raw;
        const ReadOutcome read = s.registry.ReadRaw(kHkeyCurrentUser, row.key, row.valueName, &raw);
        if (read == ReadOutcome::kRead) {
            now[i] = std::move(raw);
        }
        shown[i] = read == ReadOutcome::kUnreadable ? SettingReading{read, {}}
                                                    : ReadingOf((*point)[i].row, now[i]);
        // A value that cannot be read cannot be shown to be the one written.
        const UndoState state = read == ReadOutcome::kUnreadable ? UndoState::kChangedSince
                                                                 : StateOf((*point)[i], now[i]);
        if (state == UndoState::kChangedSince) {
            changedSince +=
                (changedSince.empty() ? "" : ", ") + std::string(SettingLabel((*point)[i].row));
        }
        if (state != UndoState::kAsFound) {
            restore.push_back(i);
        }
    }
    if (!changedSince.empty() && !c.Has(kOptionForce)) {
        return Say(s.console, kTextChangedSince + changedSince, kExitFailed);
    }
    for (const std::size_t i : restore) {
        const std::size_t row = (*point)[i].row;
        s.console.Out(std::string(SettingLabel(row)) + ": " +
                      ShownSetting(row, shown[i], s.charset) + kTextArrow +
                      ShownSetting(row, ReadingOf(row, (*point)[i].before), s.charset) + "\n");
    }
    if (c.Has(kOptionDryRun)) {
        return kExitDone;
    }
    if (restore.empty()) {
        s.console.Out(std::string(kTextUnchanged) + "undo\n");
        return kExitDone;
    }
    for (const std::size_t i : restore) {
        const SettingRow& row = SettingTable[(*point)[i].row];
        if (!s.registry.WriteRaw(kHkeyCurrentUser, row.key, row.valueName, (*point)[i].before)) {
            return RollBack(s, recorder, (*point)[i].row);
        }
    }
    if (!c.Has(kOptionNoNotify)) {
        s.notifier.SettingsChanged();
    }
    s.console.Out(std::string(kTextUndone) + "\n");
    return kExitDone;
}
