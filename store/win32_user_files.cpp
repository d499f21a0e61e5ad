// The seam of the console's own files over kernel32: wide calls on UTF-8
// paths.
#include <windows.h>

#include "store/file_seam.h"
#include "platform/win32_encoding.h"
#include "platform/win32_platform.h"
#include "store/text_format.h"

namespace {

struct FindCloser {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE find) const { FindClose(find); }
};

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A long path gets the prefix that lifts the old bound of MAX_PATH characters.
std::wstring WidePath(const std::string& path) {
    std::wstring wide = Widen(path);
    if (wide.size() >= MAX_PATH && wide.rfind(L"\\\\", 0) != 0) {
        wide.insert(0, L"\\\\?\\");
    }
    return wide;
}

// On disk before it is renamed, so a crash leaves the old file or the new.
bool WriteNew(const std::wstring& path, std::string_view bytes) {
    const FileOwner file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.Valid() &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.Get());
}

// Each folder on the way; those that exist, or cannot be made, are left to
// the file's own creation to report.
void CreateFolders(const std::string& path) {
    for (std::size_t slash = path.find('\\', 1); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        CreateDirectoryW(WidePath(path.substr(0, slash)).c_str(), nullptr);
    }
}

class Win32UserFiles final : public UserFileSeam {
  public:
    std::string AppDataFolder() override {
        std::wstring folder(MAX_PATH, L'\0');
        DWORD length = GetEnvironmentVariableW(L"APPDATA", folder.data(), MAX_PATH);
        if (length >= MAX_PATH) {
            folder.resize(length);
            length = GetEnvironmentVariableW(L"APPDATA", folder.data(), length);
        }
        if (length == 0 || length >= folder.size()) {
            return {};
        }
        folder.resize(length);
        std::string utf8 = Narrow(folder);
        while (!utf8.empty() && utf8.back() == '\\') {
            utf8.pop_back();
        }
        return utf8;
    }

    FileOutcome LoadFile(const std::string& path, std::size_t maxBytes,
                         std::string* bytes) override {
        bytes->clear();
        // Others may have the file open in an editor while we read it.
        const FileOwner file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            return IsMissing(GetLastError()) ? FileOutcome::kMissing : FileOutcome::kFailed;
        }
        LARGE_INTEGER size{};
        if (GetFileType(file.Get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.Get(), &size) ||
            static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
            return FileOutcome::kFailed;
        }
        bytes->resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        const bool read =
            ReadFile(file.Get(), bytes->data(), static_cast<DWORD>(bytes->size()), &got, nullptr) &&
            got == bytes->size();
        return read ? FileOutcome::kDone : FileOutcome::kFailed;
    }

    bool ListFolder(const std::string& folder, std::vector<std::string>* names) override {
        names->clear();
        WIN32_FIND_DATAW found;
        const Owner<HANDLE, FindCloser> find(FindFirstFileExW(WidePath(folder + "\\*").c_str(),
                                                              FindExInfoBasic, &found,
                                                              FindExSearchNameMatch, nullptr, 0));
        if (!find.Valid()) {
            return IsMissing(GetLastError());
        }
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                names->push_back(Narrow(found.cFileName));
            }
        } while (FindNextFileW(find.Get(), &found));
        return GetLastError() == ERROR_NO_MORE_FILES;
    }

    bool SaveFile(const std::string& path, std::string_view bytes) override {
        CreateFolders(path);
        // A name of this process's own, so two programs saving at once do not
        // write into each other's file.
        const std::wstring temporary =
            WidePath(Concat({path, ".", Decimal(GetCurrentProcessId()), ".tmp"}));
        if (!WriteNew(temporary, bytes) ||
            !MoveFileExW(temporary.c_str(), WidePath(path).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(temporary.c_str());
            return false;
        }
        return true;
    }

    FileOutcome RemoveFile(const std::string& path) override {
        if (DeleteFileW(WidePath(path).c_str())) {
            return FileOutcome::kDone;
        }
        return IsMissing(GetLastError()) ? FileOutcome::kMissing : FileOutcome::kFailed;
    }
};

}  // namespace

UserFileSeam& TheUserFiles() {
    static Win32UserFiles files;
    return files;
}
