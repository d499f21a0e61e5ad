#pragma once
// An in-memory registry that keeps the platform's promises the accessor relies
// on: missing keys and values, keys that refuse full access, value types, the
// too-small buffer, failing stores and the creation of missing keys.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "store/registry_seam.h"

// Further platform values that only the tests need (Win32 values).
constexpr RegStatus kErrorAccessDenied = 5;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegMultiSz = 7;

class FakeRegistry final : public RegistrySeam {
  public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::vector<std::uint8_t> data;
    };
    // One line per call that touched a value: "read <key>\<name>" or "write <key>\<name>".
    std::vector<std::string> log;

    // Test set-up; key paths are relative to HKEY_CURRENT_USER.
    void SetString(const std::string& key, const std::string& name, const std::string& text);
    void SetDword(const std::string& key, const std::string& name, std::uint32_t value);
    void SetRaw(const std::string& key, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> data);
    void DenyFullAccess(const std::string& key) { denied_.insert(Fold(key)); }
    void FailStores(bool fail) { failStores_ = fail; }

    // Inspection.
    std::optional<Value> Get(const std::string& key, const std::string& name) const;
    std::optional<std::uint32_t> GetDword(const std::string& key, const std::string& name) const;
    std::optional<std::string> GetString(const std::string& key, const std::string& name) const;
    bool HasKey(const std::string& key) const { return keys_.count(Fold(key)) != 0; }
    std::size_t OpenHandles() const { return handles_.size(); }
    std::size_t Writes() const;

    RegStatus OpenKey(RegKey root, const char* path, std::uint32_t access, RegKey* key) override;
    RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* size) override;
    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) override;
    RegStatus SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                       std::uint32_t size) override;
    RegStatus CloseKey(RegKey key) override;

  private:
    static std::string Fold(const std::string& text);  // names compare case-insensitively
    RegKey NewHandle(const std::string& key);

    std::set<std::string> keys_;
    std::map<std::string, std::map<std::string, Value>> values_;  // folded key, folded name
    std::set<std::string> denied_;
    std::map<RegKey, std::string> handles_;
    RegKey nextHandle_ = 0x1000;
    bool failStores_ = false;
};
