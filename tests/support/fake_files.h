#pragma once
// An in-memory file system with one current directory, keeping the promises
// of GetCurrentDirectoryA (the needed size when the buffer is too small) and
// of a bounded read. Paths compare as Windows does, ignoring case.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "proxy/file_seam.h"

class FakeFiles final : public FileSeam {
  public:
    std::string currentDirectory = "C:\\Users\\user";
    bool failCurrentDirectory = false;
    // Every path asked for, in order.
    std::vector<std::string> opened;

    void Put(const std::string& path, std::string bytes) { files_[Fold(path)] = std::move(bytes); }
    // A file that exists but cannot be read (locked, or no permission).
    void Lock(const std::string& path) { locked_.insert(Fold(path)); }

    std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) override;
    bool ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) override;

  private:
    static std::string Fold(const std::string& path);

    std::map<std::string, std::string> files_;
    std::set<std::string> locked_;
};
