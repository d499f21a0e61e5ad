// The registry seam over advapi32.
#include <windows.h>

#include "store/registry_access.h"

namespace {

HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

class Win32Registry final : public RegistrySeam {
  public:
    RegStatus OpenKey(RegKey root, const char* path, std::uint32_t access, RegKey* key) override {
        HKEY opened = nullptr;
        const LSTATUS status = RegOpenKeyExA(ToHkey(root), path, 0, access, &opened);
        *key = reinterpret_cast<RegKey>(opened);
        return status;
    }
    RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* size) override {
        DWORD valueType = 0;
        DWORD length = *size;
        const LSTATUS status =
            RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, &length);
        *type = valueType;
        *size = length;
        return status;
    }
    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) override {
        HKEY created = nullptr;
        const LSTATUS status = RegCreateKeyExA(ToHkey(root), path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &created, nullptr);
        *key = reinterpret_cast<RegKey>(created);
        return status;
    }
    RegStatus SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                       std::uint32_t size) override {
        return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
    }
    RegStatus DeleteValue(RegKey key, const char* name) override {
        return RegDeleteValueA(ToHkey(key), name);
    }
    RegStatus CloseKey(RegKey key) override { return RegCloseKey(ToHkey(key)); }
};

static_assert(KEY_ALL_ACCESS == kKeyAllAccess && KEY_READ == kKeyRead);

}  // namespace

CRegistryAccess& TheRegistry() {
    static Win32Registry registry;
    static CRegistryAccess access(registry);
    return access;
}
