#pragma once
// The undo point: what the last command that changed settings found and
// wrote, so that `undo` can put it back exactly (type, bytes, or absence) and
// can tell whether anything changed it since. One line a value:
// "WORD BEFORE AFTER", each "-" for a missing value, else "TYPE:HEX" (the
// type in decimal, the bytes in hexadecimal).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/settings.h"

struct ValueChange {
    std::size_t row = 0;             // of the setting table
    std::optional<RawValue> before;  // nullopt: the value was missing
    std::optional<RawValue> after;   // nullopt: the value was deleted
    bool operator==(const ValueChange& other) const = default;
};
using UndoPoint = std::vector<ValueChange>;

std::string FormatUndoPoint(const UndoPoint& point);
// Adds a value's line to a formatted undo point.
void AppendUndoLine(std::string& text, const ValueChange& change);
// Nothing when the text is no undo point.
std::optional<UndoPoint> ParseUndoPoint(std::string_view text);

// The longest undo point that can be written: every setting, each value
// before and after of the most bytes read exactly. A read takes this much, so
// whatever is written reads back.
std::size_t MaxUndoPointBytes();

// Where a value stands against the undo point.
enum class UndoState {
    kAsWritten,     // it holds what the command wrote: undo puts it back
    kAsFound,       // it holds what the command found: nothing to put back
    kChangedSince,  // something else changed it since
};
UndoState StateOf(const ValueChange& change, const std::optional<RawValue>& now);
