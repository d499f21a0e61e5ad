#include "profile/undo_point.h"

#include <algorithm>

#include "store/text_format.h"

namespace {

constexpr std::string_view kHeader =
    "; vormet-cli undo: each value the last change wrote, as it was before and as written\r\n";

void AppendValue(std::string& text, const std::optional<RawValue>& value) {
    if (!value) {
        text += '-';
        return;
    }
    text += Decimal(value->type);
    text += ':';
    AppendHexBytes(text, value->bytes);
}

bool Parse(std::string_view text, std::optional<RawValue>* value) {
    value->reset();
    if (text == "-") {
        return true;
    }
    const std::size_t colon = text.find(':');
    RawValue raw;
    if (colon == std::string_view::npos || !ParseNumber(text.substr(0, colon), 10, &raw.type) ||
        (text.size() - colon - 1) % 2 != 0) {
        return false;
    }
    const std::string_view digits = text.substr(colon + 1);
    raw.bytes.resize(digits.size() / 2);
    for (std::size_t i = 0; i < raw.bytes.size(); ++i) {
        const int high = HexDigit(digits[2 * i]);
        const int low = HexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        raw.bytes[i] = static_cast<char>(high * 16 + low);
    }
    *value = std::move(raw);
    return true;
}

bool ParseLine(std::string_view line, ValueChange* change) {
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) {
        return false;
    }
    change->row = SettingOfWord(line.substr(0, first));
    return change->row < kSettingCount &&
           Parse(line.substr(first + 1, second - first - 1), &change->before) &&
           Parse(line.substr(second + 1), &change->after);
}

}  // namespace

std::size_t MaxUndoPointBytes() {
    // A value: the longest type, a colon, two digits a byte.
    constexpr std::size_t kMaxValue = sizeof "4294967295:" - 1 + 2 * std::size_t{kMaxRawBytes};
    std::size_t bytes = kHeader.size();
    for (const SettingRow& row : SettingTable) {
        bytes += std::string_view(row.word).size() + 1 + kMaxValue + 1 + kMaxValue + 2;
    }
    return bytes;
}

std::string FormatUndoPoint(const UndoPoint& point) {
    std::string text(kHeader);
    for (const ValueChange& change : point) {
        AppendUndoLine(text, change);
    }
    return text;
}

void AppendUndoLine(std::string& text, const ValueChange& change) {
    text += SettingTable[change.row].word;
    text += ' ';
    AppendValue(text, change.before);
    text += ' ';
    AppendValue(text, change.after);
    text += "\r\n";
}

std::optional<UndoPoint> ParseUndoPoint(std::string_view text) {
    UndoPoint point;
    while (!text.empty()) {
        const std::string_view line = TakeLine(text);
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
