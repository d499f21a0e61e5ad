// The file seam over kernel32.
#include <windows.h>

#include <algorithm>

#include "store/file_seam.h"
#include "platform/win32_platform.h"

namespace {

class Win32Files final : public FileSeam {
  public:
    std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) override {
        return GetCurrentDirectoryA(size, buffer);
    }
    bool ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) override {
        bytes->clear();
        // Others may have the list open in an editor while we read it.
        const FileOwner file(CreateFileA(path, GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        // Only a file on disk: a pipe or a device under the list's name (a
        // planted link, say) could hold the start-up for as long as it liked.
        if (!file.Valid() || GetFileType(file.Get()) != FILE_TYPE_DISK) {
            return false;
        }
        char chunk[4096];
        while (bytes->size() < maxBytes) {
            const std::size_t wanted = std::min(sizeof chunk, maxBytes - bytes->size());
            DWORD got = 0;
            if (!ReadFile(file.Get(), chunk, static_cast<DWORD>(wanted), &got, nullptr)) {
                return false;
            }
            if (got == 0) {
                break;
            }
            bytes->append(chunk, got);
        }
        return true;
    }
};

}  // namespace

FileSeam& TheFiles() {
    static Win32Files files;
    return files;
}
