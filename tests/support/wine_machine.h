#pragma once
// The machine of the scenarios, under Wine: the real registry (through the A
// calls, so values are the bytes the programs see), a scratch current
// directory for server.pxy, and Wine's URL cache.
#include <set>
#include <string>
#include <tuple>

#include "tests/scenario/drivers.h"

// Vormet.exe as built, a Windows path, from the test program's command line.
const std::wstring& VormetExe();

class WineMachine final : public scenario::Machine {
  public:
    WineMachine();
    ~WineMachine() override;
    WineMachine(const WineMachine&) = delete;
    WineMachine& operator=(const WineMachine&) = delete;
    // Where the programs are started.
    const std::wstring& Directory() const { return directory_; }

    void Clean() override;
    void SetValue(scenario::Root root, const std::string& key, const std::string& name,
                  const std::optional<scenario::RegValue>& value) override;
    std::optional<scenario::RegValue> Value(scenario::Root root, const std::string& key,
                                            const std::string& name) override;
    void MakeReadOnly(scenario::Root root, const std::string& key) override;
    void SetServerList(const std::string& bytes) override;
    void AddCacheEntry(const scenario::CacheEntry& entry) override;
    std::vector<scenario::CacheEntry> CacheEntries() override;

  private:
    using Place = std::tuple<scenario::Root, std::string, std::string>;
    std::wstring directory_;
    std::set<Place> planted_;   // values set, deleted again by Clean
    std::set<Place> readOnly_;  // keys (name empty) made read-only
};
