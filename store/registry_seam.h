#pragma once
// The six registry calls the accessor needs, with the platform's handle
// values, access masks and status codes, so the core builds and is tested
// without Windows.
#include <cstdint>

using RegKey = std::uintptr_t;
using RegStatus = long;

// Predefined roots as the platform numbers them.
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;

// Access masks (Win32 values): the settings are opened with full access, as
// they are written through the same keys; policies are only ever read.
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyRead = 0x20019;

// Status codes the accessor relies on (Win32 values).
constexpr RegStatus kErrorSuccess = 0;
constexpr RegStatus kErrorFileNotFound = 2;
constexpr RegStatus kErrorMoreData = 234;

// Value types (Win32 values).
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;

class RegistrySeam {
  public:
    virtual ~RegistrySeam() = default;
    // RegOpenKeyExA with options 0.
    virtual RegStatus OpenKey(RegKey root, const char* path, std::uint32_t access, RegKey* key) = 0;
    // RegQueryValueExA; *size is the buffer size in, the data size out.
    virtual RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) = 0;
    // RegCreateKeyExA with null class, options 0, KEY_ALL_ACCESS, no security.
    virtual RegStatus CreateKey(RegKey root, const char* path, RegKey* key) = 0;
    // RegSetValueExA.
    virtual RegStatus SetValue(RegKey key, const char* name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteValueA.
    virtual RegStatus DeleteValue(RegKey key, const char* name) = 0;
    virtual RegStatus CloseKey(RegKey key) = 0;
};
