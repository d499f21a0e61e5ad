#pragma once
// The undo point: what the last command that changed settings found and
// wrote, so that `undo` can put it back exactly (type, bytes, or absence) and
// can tell whether anything changed it since.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/settings.h"
#include "store/file_seam.h"

struct ValueChange {
    std::size_t row = 0;             // of the setting table
    std::optional<RawValue> before;  // nullopt: the value was missing
    std::optional<RawValue> after;   // nullopt: the value was deleted
    bool operator==(const ValueChange& other) const = default;
};
using UndoPoint = std::vector<ValueChange>;

std::string FormatUndoPoint(const UndoPoint& point);
// Nothing when the text is no undo point.
std::optional<UndoPoint> ParseUndoPoint(std::string_view text);

// Where a value stands against the undo point.
enum class UndoState {
    kAsWritten,     // it holds what the command wrote: undo puts it back
    kAsFound,       // it holds what the command found: nothing to put back
    kChangedSince,  // something else changed it since
};
UndoState StateOf(const ValueChange& change, const std::optional<RawValue>& now);

// Records each change a command makes into the undo point on disk before the
// change is made, for as long as it lives. The command's first change
// replaces the point the previous command left; a change that cannot be
// recorded is not made.
class UndoRecorder final : public ChangeJournal {
  public:
    UndoRecorder(CRegistryAccess& registry, UserFileSeam& files, std::string path);
    ~UndoRecorder() override;
    UndoRecorder(const UndoRecorder&) = delete;
    UndoRecorder& operator=(const UndoRecorder&) = delete;

    bool Record(RegKey root, const char* path, const char* name,
                const std::optional<RawValue>& before,
                const std::optional<RawValue>& after) override;
    // Whether a change was kept from being made because it could not be recorded.
    bool SaveFailed() const { return saveFailed_; }
    // Puts back, newest first, every value changed so far, and the undo point
    // that was there before; false when something could not be put back.
    bool Rollback();

  private:
    CRegistryAccess& registry_;
    UserFileSeam& files_;
    std::string path_;
    UndoPoint point_;
    std::optional<std::string> previous_;  // the undo point file found at the first change
    bool saveFailed_ = false;
};
