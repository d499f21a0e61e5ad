#pragma once
// The scenarios' machine under Wine: the real registry through the A calls
// (so values are the bytes the programs see), a scratch folder the programs
// start in (server.pxy) and that holds their application data, and Wine's
// URL cache.
#include <set>
#include <tuple>

#include "tests/scenario/drivers.h"

// The executables as built, Windows paths, from the test program's command line.
const std::wstring& VormetExe();
const std::wstring& CliExe();

class WineMachine final : public scenario::Machine {
  public:
    WineMachine();
    ~WineMachine() override;
    const std::wstring& Directory() const { return directory_; }  // the programs' own

    void Clean() override;
    void SetValue(RegKey root, const std::string& key, const std::string& name,
                  const std::optional<RawValue>& value) override;
    std::optional<RawValue> Value(RegKey root, const std::string& key,
                                  const std::string& name) override;
    void MakeReadOnly(RegKey root, const std::string& key) override;
    void SetServerList(const std::string& bytes) override;
    void AddCacheEntry(const scenario::CacheEntry& entry) override;
    std::vector<scenario::CacheEntry> CacheEntries() override;
    void SetUserFile(const std::string& path, const std::optional<std::string>& bytes) override;
    std::optional<std::string> UserFile(const std::string& path) override;

  private:
    std::wstring directory_;
    std::set<std::tuple<RegKey, std::string, std::string>> planted_;  // deleted by Clean
    std::set<std::pair<RegKey, std::string>> readOnly_;               // writable again
};
