// The profile file and the undo point, read from any bytes and written from
// any values. Whatever the input: reading never fails but with a line of the
// text; a profile read is written back to the same values; any values save
// can meet (texts of any bytes but zero, numbers of any size) read back as
// they were; and so does any undo point.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "fuzz/require.h"
#include "profile/profile_file.h"
#include "profile/undo_point.h"
#include "tests/support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeCharset charset;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ProfileReading read = ParseProfile(text, charset);
    if (read.error == ProfileError::kNone) {
        const std::string written = FormatProfile(read.profile, charset);
        const ProfileReading back = ParseProfile(written, charset);
        Require(back.error == ProfileError::kNone && back.profile == read.profile &&
                FormatProfile(back.profile, charset) == written);
    } else {
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        Require(read.line >= 1 && read.line <= 1 + lines);
    }

    FuzzedDataProvider in(data, size);
    Profile values;
    UndoPoint point;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (in.ConsumeBool()) {
            SettingValue value;
            if (SettingTable[row].kind == SettingKind::kText) {
                value.text = in.ConsumeRandomLengthString(SettingTable[row].maxBytes - 1);
                value.text.erase(std::remove(value.text.begin(), value.text.end(), '\0'),
                                 value.text.end());
            } else {
                value.number = in.ConsumeIntegral<std::uint32_t>();
            }
            values[row] = value;
        }
        const auto raw = [&in]() -> std::optional<RawValue> {
            if (in.ConsumeBool()) {
                return std::nullopt;
            }
            return RawValue{in.ConsumeIntegral<std::uint32_t>(), in.ConsumeRandomLengthString(64)};
        };
        if (in.ConsumeBool()) {
            point.push_back(
                {in.ConsumeIntegralInRange<std::size_t>(0, kSettingCount - 1), raw(), raw()});
        }
    }
    const ProfileReading back = ParseProfile(FormatProfile(values, charset), charset);
    Require(back.error == ProfileError::kNone && back.profile == values);
    Require(ParseUndoPoint(FormatUndoPoint(point)) == point);
    ParseUndoPoint(text);
    return 0;
}
