#pragma once
// A change of settings as the console and the tray make it: the way back
// first, then the writes, and all of it taken back when a write fails.
// Before each write the undo point on disk is written anew with every value
// this change has written so far: what it held (type and bytes, or missing)
// and what it is to hold. A write whose way back cannot be recorded is not
// made, so a crash leaves an undo point that covers every value written.
#include <optional>
#include <string>

#include "profile/undo_point.h"
#include "store/file_seam.h"
#include "store/value_writer.h"

enum class ChangeFailure {
    kNone,
    kWriteFailed,   // the value could not be written, or not read to record it
    kUndoNotSaved,  // the undo point could not be saved; nothing is written since
};

class SettingChange final : public ValueWriter {
  public:
    // undoPath empty: there is no place for the undo point, so nothing can be
    // written.
    SettingChange(CRegistryAccess& registry, UserFileSeam& files, std::string undoPath);
    // The user's own undo point, in the application-data folder.
    SettingChange(CRegistryAccess& registry, UserFileSeam& files);
    SettingChange(const SettingChange&) = delete;
    SettingChange& operator=(const SettingChange&) = delete;

    // Only the settings' values can be written; anything else is refused
    // rather than changed without a way back.
    bool WriteValue(RegKey root, const char* path, const char* name,
                    const RawValue& value) override;
    // Stores a setting's value exactly as given (nullopt deletes it).
    bool WriteRaw(std::size_t row, const std::optional<RawValue>& value);

    // What the writes go to, for the reads that decide them.
    CRegistryAccess& Registry() const { return registry_; }
    // Why the last write failed.
    ChangeFailure Failure() const { return failure_; }
    // Puts back, newest first, every value written so far, and the undo point
    // that was there before, or none; false when something could not be put
    // back.
    bool Rollback();

  private:
    struct Recorded {
        UndoPoint point;
        std::string text;  // as saved
    };
    // The undo point with this write added, saved; nothing when it cannot be.
    std::optional<Recorded> Record(std::size_t row, const std::optional<RawValue>& after);
    // Saves the undo point of what was written; with nothing written, puts
    // back the one found.
    bool RestoreUndoPoint();

    CRegistryAccess& registry_;
    UserFileSeam& files_;
    std::string path_;
    UndoPoint point_;                      // what was written
    std::string text_;                     // and its undo point as saved
    std::optional<std::string> previous_;  // the undo point file found at the first write
    ChangeFailure failure_ = ChangeFailure::kNone;
};

// How a change of several settings ended: all of it, or none of it.
struct ChangeOutcome {
    enum End { kDone, kNothingToDo, kFailed } end = kDone;
    // When failed:
    std::size_t row = 0;        // the setting whose write failed
    bool undoNotSaved = false;  // rather than the write itself
    bool rolledBack = false;    // every value put back as it was
};

// After the write of a setting failed: rolls the change back, and tells how
// it ended.
ChangeOutcome RolledBack(SettingChange& change, std::size_t row);
