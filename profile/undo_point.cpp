#include "profile/undo_point.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "profile/profile_store.h"

namespace {

constexpr std::string_view kHeader =
    "; vormet-cli undo: each value the last change wrote, as it was before and as written\r\n";

// "-" for a missing value, else "TYPE:HEX" (the type in decimal, the bytes in
// hexadecimal).
std::string Format(const std::optional<RawValue>& value) {
    if (!value) {
        return "-";
    }
    std::string text = std::to_string(value->type) + ":";
    for (const char c : value->bytes) {
        char hex[3];
        (void)std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(c));
        text += hex;
    }
    return text;
}

bool Parse(std::string_view text, std::optional<RawValue>* value) {
    value->reset();
    if (text == "-") {
        return true;
    }
    const std::size_t colon = text.find(':');
    RawValue raw;
    const char* typeEnd = text.data() + std::min(colon, text.size());
    const auto typed = std::from_chars(text.data(), typeEnd, raw.type);
    if (colon == std::string_view::npos || colon == 0 || typed.ec != std::errc() ||
        typed.ptr != typeEnd || (text.size() - colon - 1) % 2 != 0) {
        return false;
    }
    for (std::size_t i = colon + 1; i < text.size(); i += 2) {
        unsigned byte = 0;
        const char* end = text.data() + i + 2;
        const auto hex = std::from_chars(text.data() + i, end, byte, 16);
        if (hex.ec != std::errc() || hex.ptr != end) {
            return false;
        }
        raw.bytes += static_cast<char>(byte);
    }
    *value = std::move(raw);
    return true;
}

// "WORD BEFORE AFTER", the word naming the setting.
bool ParseLine(std::string_view line, ValueChange* change) {
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) {
        return false;
    }
    change->row = 0;
    while (change->row < kSettingCount && line.substr(0, first) != SettingTable[change->row].word) {
        ++change->row;
    }
    return change->row < kSettingCount &&
           Parse(line.substr(first + 1, second - first - 1), &change->before) &&
           Parse(line.substr(second + 1), &change->after);
}

}  // namespace

std::string FormatUndoPoint(const UndoPoint& point) {
    std::string text(kHeader);
    for (const ValueChange& change : point) {
        text += std::string(SettingTable[change.row].word) + " " + Format(change.before) + " " +
                Format(change.after) + "\r\n";
    }
    return text;
}

std::optional<UndoPoint> ParseUndoPoint(std::string_view text) {
    UndoPoint point;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == ';') {
            continue;
        }
        ValueChange change;
        if (!ParseLine(line, &change)) {
            return std::nullopt;
        }
        point.push_back(std::move(change));
    }
    return point;
}

UndoState StateOf(const ValueChange& change, const std::optional<RawValue>& now) {
    if (now == change.after) {
        return UndoState::kAsWritten;
    }
    return now == change.before ? UndoState::kAsFound : UndoState::kChangedSince;
}

UndoRecorder::UndoRecorder(CRegistryAccess& registry, UserFileSeam& files, std::string path)
    : registry_(registry), files_(files), path_(std::move(path)) {
    registry_.SetJournal(this);
}

UndoRecorder::~UndoRecorder() {
    registry_.SetJournal(nullptr);
}

bool UndoRecorder::Record(RegKey root, const char* path, const char* name,
                          const std::optional<RawValue>& before,
                          const std::optional<RawValue>& after) {
    const std::size_t row = SettingOf(path, name);
    // Only the settings are ever changed; anything else is refused rather
    // than changed without a way back.
    if (root != kHkeyCurrentUser || row == kSettingCount) {
        return false;
    }
    if (path_.empty()) {
        saveFailed_ = true;
        return false;
    }
    if (point_.empty()) {
        std::string found;
        if (files_.LoadFile(path_, kMaxUndoPointBytes, &found) == FileOutcome::kDone) {
            previous_ = std::move(found);
        }
    }
    UndoPoint point = point_;
    auto same = std::find_if(point.begin(), point.end(),
                             [row](const ValueChange& change) { return change.row == row; });
    if (same == point.end()) {
        point.push_back({row, before, after});
    } else {
        same->after = after;  // written twice: what it held first is what undo brings back
    }
    if (!files_.SaveFile(path_, FormatUndoPoint(point))) {
        saveFailed_ = true;
        return false;
    }
    point_ = std::move(point);
    return true;
}

bool UndoRecorder::Rollback() {
    registry_.SetJournal(nullptr);
    bool restored = true;
    for (auto change = point_.rbegin(); change != point_.rend(); ++change) {
        const SettingRow& row = SettingTable[change->row];
        restored = registry_.WriteRaw(kHkeyCurrentUser, row.key, row.valueName, change->before) &&
                   restored;
    }
    if (!point_.empty()) {
        restored = (previous_ ? files_.SaveFile(path_, *previous_)
                              : files_.RemoveFile(path_) != FileOutcome::kFailed) &&
                   restored;
    }
    point_.clear();
    return restored;
}
