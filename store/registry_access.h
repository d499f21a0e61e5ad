#pragma once
// Typed reads and writes of single registry values. Each operation opens (or
// creates) its key, does its one thing and closes the key again; the caller
// decides what the user sees.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/registry_seam.h"

// How a read ended. Missing: the key or the value does not exist; unreadable:
// any other failure (no access, a value of the wrong size, a text too long).
enum class ReadOutcome { kRead, kMissing, kUnreadable };

// A DWORD as read; its value means something only when it was read.
struct DwordReading {
    ReadOutcome outcome = ReadOutcome::kMissing;
    std::uint32_t value = 0;
};

class CRegistryAccess {
  public:
    explicit CRegistryAccess(RegistrySeam& registry) : registry_(registry) {}
    CRegistryAccess(const CRegistryAccess&) = delete;
    CRegistryAccess& operator=(const CRegistryAccess&) = delete;

    // Reads exactly four bytes of any type; any other size is unreadable, so
    // no stray bytes are ever taken for a setting. The settings' keys are
    // opened with full access, so a key the user may not change reads as
    // unreadable too.
    ReadOutcome ReadDword(RegKey root, const char* path, const char* name, std::uint32_t* value,
                          std::uint32_t access = kKeyAllAccess);
    // Reads a text whose bytes, zero byte included, fit maxBytes; the buffer
    // grows to what the platform reports it needs. The text ends at its first
    // zero byte, or after its data when it has none.
    ReadOutcome ReadString(RegKey root, const char* path, const char* name, std::string* text,
                           std::uint32_t maxBytes);
    // Stores a REG_SZ with its terminating zero, creating missing keys. A text
    // with a zero byte inside is stored up to it.
    bool WriteString(RegKey root, const char* path, const char* name, std::string_view text);
    bool WriteDword(RegKey root, const char* path, const char* name, std::uint32_t value);

  private:
    bool Write(RegKey root, const char* path, const char* name, std::uint32_t type,
               const std::uint8_t* data, std::uint32_t size);

    RegistrySeam& registry_;
};

// The process-wide accessor over the platform's registry.
CRegistryAccess& TheRegistry();
