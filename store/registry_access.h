#pragma once
// Typed reads and writes of single registry values. Each operation opens (or
// creates) its key, does its one thing and closes the key again; the caller
// decides what the user sees.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/registry_seam.h"
#include "store/value_writer.h"

// How a read ended. Missing: the key or the value does not exist; unreadable:
// any other failure (no access, a value of the wrong size, a text too long).
enum class ReadOutcome { kRead, kMissing, kUnreadable };

// A DWORD as read; its value means something only when it was read.
struct DwordReading {
    ReadOutcome outcome = ReadOutcome::kMissing;
    std::uint32_t value = 0;
};

// How the reads take a value's bytes: a DWORD is exactly four bytes, of any
// type, so no stray bytes are ever taken for a setting; a text ends at its
// first zero byte, or after its data when it has none, and must fit maxBytes
// once ended.
ReadOutcome DwordFromBytes(std::string_view bytes, std::uint32_t* value);
ReadOutcome TextFromBytes(std::string_view bytes, std::uint32_t maxBytes, std::string* text);

// The longest value read exactly; a longer one counts as unreadable.
constexpr std::uint32_t kMaxRawBytes = 1 << 20;

class CRegistryAccess final : public ValueWriter {
  public:
    explicit CRegistryAccess(RegistrySeam& registry) : registry_(registry) {}
    CRegistryAccess(const CRegistryAccess&) = delete;
    CRegistryAccess& operator=(const CRegistryAccess&) = delete;

    // The settings' keys are opened with full access, so a key the user may
    // not change reads as unreadable.
    ReadOutcome ReadDword(RegKey root, const char* path, const char* name, std::uint32_t* value,
                          std::uint32_t access = kKeyAllAccess);
    // The buffer grows to what the platform reports a text needs.
    ReadOutcome ReadString(RegKey root, const char* path, const char* name, std::string* text,
                           std::uint32_t maxBytes);
    bool WriteValue(RegKey root, const char* path, const char* name,
                    const RawValue& value) override {
        return WriteRaw(root, path, name, value);
    }

    // The value's exact type and bytes, of at most kMaxRawBytes, with the
    // access of the settings' reads.
    ReadOutcome ReadRaw(RegKey root, const char* path, const char* name, RawValue* value);
    // Stores the value exactly as given (nullopt deletes it; a value that is
    // not there counts as deleted).
    bool WriteRaw(RegKey root, const char* path, const char* name,
                  const std::optional<RawValue>& value);

  private:
    // The bytes of a value of at most maxBytes, as ReadRaw reads them.
    ReadOutcome ReadBytes(RegKey root, const char* path, const char* name, std::uint32_t maxBytes,
                          RawValue* value);

    RegistrySeam& registry_;
};

// The process-wide accessor over the platform's registry.
CRegistryAccess& TheRegistry();
