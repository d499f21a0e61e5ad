#pragma once
// What the core needs of the file system, in two seams: the server list's
// (the current directory and the bytes of one file, by ANSI paths as the
// dialog has always looked for it), and the console's own files under the
// user's application-data folder (UTF-8 paths, so any name and any user's
// folder work). The Win32 implementations are product code; tests use
// in-memory ones.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class FileOutcome { kDone, kMissing, kFailed };

class FileSeam {
  public:
    virtual ~FileSeam() = default;
    // GetCurrentDirectoryA: the length copied without the zero byte; when the
    // buffer is too small, the size needed with it; 0 on failure.
    virtual std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) = 0;
    // At most maxBytes from the start of the file; false when it cannot be
    // opened or read.
    virtual bool ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) = 0;
};

// The process-wide file system of the platform, as the server list needs it.
FileSeam& TheFiles();

class UserFileSeam {
  public:
    virtual ~UserFileSeam() = default;
    // The user's roaming application-data folder; empty when it is not known.
    virtual std::string AppDataFolder() = 0;
    // The whole file; failed when it cannot be read or holds more than maxBytes.
    virtual FileOutcome LoadFile(const std::string& path, std::size_t maxBytes,
                                 std::string* bytes) = 0;
    // The names of the files (not folders) in a folder, in any order; none
    // when the folder does not exist. False when it cannot be listed.
    virtual bool ListFolder(const std::string& folder, std::vector<std::string>* names) = 0;
    // Writes the file whole or not at all (a temporary file in the same folder,
    // renamed over the old one), creating missing folders on the way.
    virtual bool SaveFile(const std::string& path, std::string_view bytes) = 0;
    virtual FileOutcome RemoveFile(const std::string& path) = 0;
};

// The process-wide file system of the platform, as the console's files need it.
UserFileSeam& TheUserFiles();
