#pragma once
// What the server list needs of the file system: the current directory and
// the bytes of one file. The Win32 implementation is product code; tests use
// an in-memory one.
#include <cstddef>
#include <cstdint>
#include <string>

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

// The process-wide file system of the platform.
FileSeam& TheFiles();
