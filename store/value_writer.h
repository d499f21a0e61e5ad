#pragma once
// Where a rule's writes go. The accessor writes at once, as the dialog's
// clicks do; a change (change/setting_change.h) records the way back first.
// The caller chooses by what it passes, so a call shows whether its writes
// can be undone.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/registry_seam.h"

// A value exactly as stored: its type and its bytes, terminating zeros included.
struct RawValue {
    std::uint32_t type = 0;
    std::string bytes;
    bool operator==(const RawValue& other) const = default;
};

// How the settings are stored: a text as REG_SZ with its terminating zero
// (a text with a zero byte inside up to it), a number as REG_DWORD.
RawValue StringValue(std::string_view text);
RawValue DwordValue(std::uint32_t value);

class ValueWriter {
  public:
    virtual ~ValueWriter() = default;
    // Stores the value, creating missing keys.
    virtual bool WriteValue(RegKey root, const char* path, const char* name,
                            const RawValue& value) = 0;

    bool WriteString(RegKey root, const char* path, const char* name, std::string_view text) {
        return WriteValue(root, path, name, StringValue(text));
    }
    bool WriteDword(RegKey root, const char* path, const char* name, std::uint32_t value) {
        return WriteValue(root, path, name, DwordValue(value));
    }
};
