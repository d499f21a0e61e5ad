#include "change/setting_change.h"

#include <algorithm>

#include "profile/profile_store.h"
#include "store/registry_paths.h"

SettingChange::SettingChange(CRegistryAccess& registry, UserFileSeam& files, std::string undoPath)
    : registry_(registry), files_(files), path_(std::move(undoPath)) {}

SettingChange::SettingChange(CRegistryAccess& registry, UserFileSeam& files)
    : SettingChange(registry, files, UndoPointPath(AppFolder(files))) {}

bool SettingChange::WriteValue(RegKey root, const char* path, const char* name,
                               const RawValue& value) {
    const std::size_t row = SettingOf(path, name);
    if (root != kHkeyCurrentUser || row == kSettingCount) {
        failure_ = ChangeFailure::kWriteFailed;
        return false;
    }
    return WriteRaw(row, value);
}

bool SettingChange::WriteRaw(std::size_t row, const std::optional<RawValue>& value) {
    std::optional<Recorded> recorded = Record(row, value);
    if (!recorded) {
        return false;
    }
    if (!WriteStored(registry_, row, value)) {
        failure_ = ChangeFailure::kWriteFailed;
        RestoreUndoPoint();  // a write that was not made leaves no trace
        return false;
    }
    point_ = std::move(recorded->point);
    text_ = std::move(recorded->text);
    failure_ = ChangeFailure::kNone;
    return true;
}

std::optional<SettingChange::Recorded> SettingChange::Record(std::size_t row,
                                                             const std::optional<RawValue>& after) {
    if (path_.empty() || failure_ == ChangeFailure::kUndoNotSaved) {
        failure_ = ChangeFailure::kUndoNotSaved;
        return std::nullopt;
    }
    std::optional<RawValue> before;
    if (ReadStored(registry_, row, &before) == ReadOutcome::kUnreadable) {
        // Without what it holds there is no way back; and a key that cannot
        // be opened to read it cannot be written either.
        failure_ = ChangeFailure::kWriteFailed;
        return std::nullopt;
    }
    if (point_.empty()) {
        std::string bytes;
        previous_.reset();
        if (files_.LoadFile(path_, MaxUndoPointBytes(), &bytes) == FileOutcome::kDone) {
            previous_ = std::move(bytes);
        }
    }
    Recorded recorded{point_, text_};
    UndoPoint& point = recorded.point;
    const auto same = std::find_if(point.begin(), point.end(),
                                   [row](const ValueChange& change) { return change.row == row; });
    if (same == point.end()) {
        point.push_back({row, std::move(before), after});
        // Formatted once: a value may hold a megabyte.
        if (point.size() == 1) {
            recorded.text = FormatUndoPoint({});
        }
        AppendUndoLine(recorded.text, point.back());
    } else {
        same->after = after;  // written twice: what it held first is what undo brings back
        recorded.text = FormatUndoPoint(point);
    }
    if (!files_.SaveFile(path_, recorded.text)) {
        failure_ = ChangeFailure::kUndoNotSaved;
        return std::nullopt;
    }
    return recorded;
}

bool SettingChange::RestoreUndoPoint() {
    if (!point_.empty()) {
        return files_.SaveFile(path_, text_);
    }
    return previous_ ? files_.SaveFile(path_, *previous_)
                     : files_.RemoveFile(path_) != FileOutcome::kFailed;
}

bool SettingChange::Rollback() {
    if (point_.empty()) {
        return true;
    }
    bool restored = true;
    for (auto change = point_.rbegin(); change != point_.rend(); ++change) {
        restored = WriteStored(registry_, change->row, change->before) && restored;
    }
    point_.clear();
    return RestoreUndoPoint() && restored;
}

ChangeOutcome RolledBack(SettingChange& change, std::size_t row) {
    ChangeOutcome outcome;
    outcome.end = ChangeOutcome::kFailed;
    outcome.row = row;
    outcome.undoNotSaved = change.Failure() == ChangeFailure::kUndoNotSaved;
    outcome.rolledBack = change.Rollback();
    return outcome;
}
