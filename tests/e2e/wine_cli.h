#pragma once
// The real vormet-cli.exe under Wine, run once per call. Its standard streams
// are files, so it writes UTF-8, and no pipe can fill up and hold it.
#include <string>

#include "tests/scenario/drivers.h"

class WineCli final : public scenario::CliDriver {
  public:
    WineCli(std::wstring exe, std::wstring directory);  // where each run starts
    scenario::CliRun Run(const std::vector<std::string>& args, const std::string& input) override;

  private:
    std::wstring exe_;
    std::wstring directory_;
};
