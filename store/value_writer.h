#pragma once
// Where a rule's writes go. The accessor writes at once, as the dialog's
// clicks do; a change (change/setting_change.h) records the way back first.
// The caller chooses by what it passes, so a call shows whether its writes
// can be undone.
#include <cstdint>
#include <string_view>

#include "store/registry_seam.h"

class ValueWriter {
  public:
    virtual ~ValueWriter() = default;
    // A REG_SZ with its terminating zero, creating missing keys; a text with a
    // zero byte inside is stored up to it.
    virtual bool WriteString(RegKey root, const char* path, const char* name,
                             std::string_view text) = 0;
    virtual bool WriteDword(RegKey root, const char* path, const char* name,
                            std::uint32_t value) = 0;
};
