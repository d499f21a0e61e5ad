#pragma once
// Typed reads and writes of single registry values under one root. Each
// operation opens (or creates) its key, does its one thing, closes the key and
// reports 1 on success, 0 on failure; the caller decides what the user sees.
#include <cstdint>
#include <string>

#include "store/registry_seam.h"

// How a read of a whole text ended. Missing: the key or the value does not
// exist; unreadable: any other failure, a text over the cap among them.
enum class ReadOutcome { kRead, kMissing, kUnreadable };

class CRegistryAccess {
  public:
    explicit CRegistryAccess(RegistrySeam& registry) : registry_(registry) {}
    CRegistryAccess(const CRegistryAccess&) = delete;
    CRegistryAccess& operator=(const CRegistryAccess&) = delete;

    // Reads a text into buffer (size bytes, zero byte included). A stored text
    // without its zero byte is ended after its data; one that fills the whole
    // buffer without one is unreadable.
    int ReadString(RegKey root, const char* path, const char* name, char* buffer,
                   std::uint32_t size);
    // Reads a text of any length whose bytes, zero byte included, fit maxBytes:
    // the buffer grows to the size the platform reports it needs. The text
    // ends at its first zero byte, or after its data when it has none.
    ReadOutcome ReadWholeString(RegKey root, const char* path, const char* name, std::string* text,
                                std::uint32_t maxBytes);
    // Reads exactly four bytes; a shorter value is unreadable, so no stray
    // bytes of the variable are ever taken for a setting.
    int ReadDword(RegKey root, const char* path, const char* name, std::uint32_t* value);
    // Stores text as REG_SZ with its terminating zero, creating missing keys.
    int WriteString(RegKey root, const char* path, const char* name, const char* text);
    int WriteDword(RegKey root, const char* path, const char* name, std::uint32_t value);

  private:
    int Read(RegKey root, const char* path, const char* name, std::uint8_t* data,
             std::uint32_t* size);
    int Write(RegKey root, const char* path, const char* name, std::uint32_t type,
              const std::uint8_t* data, std::uint32_t size);

    RegistrySeam& registry_;
    RegKey key_ = 0;  // valid only inside one operation
};

// The process-wide accessor over the platform's registry.
CRegistryAccess& TheRegistry();
