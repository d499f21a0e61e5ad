// The scenarios' machine under Wine, and the entry of the programs that test
// there:
//   <program> <Vormet.exe> <vormet-cli.exe> [gtest flags], Unix paths
#include "tests/support/wine.h"

#include <sddl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "profile/profile_store.h"
#include "store/registry_paths.h"
#include "tests/scenario/script.h"
#include "platform/win32_encoding.h"

namespace {

std::wstring exes[3];  // Windows paths

HKEY RootKey(RegKey root) {
    return root == kHkeyCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// Everyone may do everything with the key; when readOnly, everyone is first
// denied every change (DELETE, KEY_CREATE_SUB_KEY, KEY_SET_VALUE), so that
// opening it with full access fails too, and reading does not.
bool Protect(RegKey root, const std::string& path, bool readOnly) {
    const wchar_t* sddl = readOnly ? L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)" : L"D:(A;;KA;;;WD)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key = nullptr;
    const bool ok =
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                             nullptr) &&
        RegOpenKeyExA(RootKey(root), path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
    LocalFree(descriptor);
    return ok;
}

std::filesystem::path UserPath(const std::string& path) {
    return Widen(AppFolder(TheUserFiles()) + "\\" + path);
}

}  // namespace

const std::wstring& VormetExe() {
    return exes[0];
}

const std::wstring& CliExe() {
    return exes[1];
}

const std::wstring& TrayExe() {
    return exes[2];
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 4 || argv[1][0] != '/' || argv[2][0] != '/' || argv[3][0] != '/') {
        std::fprintf(stderr,
                     "usage: %s <Vormet.exe> <vormet-cli.exe> <vormet-tray.exe> [gtest flags]\n",
                     argv[0]);
        return 2;
    }
    for (int i = 0; i < 3; ++i) {
        exes[i] = L"Z:";  // where Wine shows the Unix root
        for (const char* c = argv[i + 1]; *c != '\0'; ++c) {
            exes[i] += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
        }
    }
    return RUN_ALL_TESTS();
}

WineMachine::WineMachine() {
    static int count = 0;
    wchar_t temp[MAX_PATH];
    directory_ = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"qeltrin-" +
                 std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    CreateDirectoryW(directory_.c_str(), nullptr);
    // The console programs this test starts take their application data from
    // here, as this process's own seam does.
    SetEnvironmentVariableW(L"APPDATA", (directory_ + L"\\AppData").c_str());
}

WineMachine::~WineMachine() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void WineMachine::SetUserFile(const std::string& path, const std::optional<std::string>& bytes) {
    std::filesystem::remove(UserPath(path));
    if (bytes) {
        std::filesystem::create_directories(UserPath(path).parent_path());
        std::ofstream(UserPath(path), std::ios::binary) << *bytes;
    }
}

std::optional<std::string> WineMachine::UserFile(const std::string& path) {
    std::ifstream file(UserPath(path), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WineMachine::Clean() {
    // The programs' keys too: a run that died may have left them read-only.
    readOnly_.insert({{kHkeyCurrentUser, kZoneKey}, {kHkeyCurrentUser, kSettingsKey}});
    for (const auto& [root, key] : readOnly_) {
        Protect(root, key, false);
    }
    for (const scenario::Ref value : scenario::kValues) {
        planted_.insert({value.key.root, value.key.path, value.name});
    }
    for (const auto& [root, key, name] : planted_) {
        RegDeleteKeyValueA(RootKey(root), key.c_str(), name.c_str());
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kPolicySettingsKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPolicySettingsKey);
    DeleteFileW((directory_ + L"\\server.pxy").c_str());
    std::error_code error;
    std::filesystem::remove_all(directory_ + L"\\AppData", error);
    EXPECT_FALSE(error) << "the console's files could not be removed: " << error.message();
    for (const scenario::CacheEntry& entry : CacheEntries()) {
        DeleteUrlCacheEntryA(entry.url.c_str());
    }
    EXPECT_TRUE(CacheEntries().empty()) << "the URL cache could not be emptied";
}

void WineMachine::SetValue(RegKey root, const std::string& key, const std::string& name,
                           const std::optional<RawValue>& value) {
    planted_.insert({root, key, name});
    if (!value) {
        RegDeleteKeyValueA(RootKey(root), key.c_str(), name.c_str());
        return;
    }
    // Wine's A call counts one more byte when a text lacks its zero byte and
    // the byte past the buffer happens to be zero; a non-zero byte there
    // keeps the planted size.
    const std::string bytes = value->bytes + 'x';
    EXPECT_EQ(RegSetKeyValueA(RootKey(root), key.c_str(), name.c_str(), value->type, bytes.data(),
                              value->bytes.size()),
              ERROR_SUCCESS);
    // The registry keeps texts in UTF-16: bytes that are no text in code page
    // 932, or a text without its zero byte, reach the A calls only in a value
    // of a type kept as bytes.
    EXPECT_EQ(Value(root, key, name), value) << name << " does not read back as planted";
}

std::optional<RawValue> WineMachine::Value(RegKey root, const std::string& key,
                                           const std::string& name) {
    HKEY opened = nullptr;
    RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_QUERY_VALUE, &opened);
    DWORD type = 0;
    DWORD size = 0;
    std::optional<RawValue> value;
    if (RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        value = RawValue{type, std::string(size, '\0')};
        RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value->bytes.data()), &size);
    }
    RegCloseKey(opened);
    return value;
}

void WineMachine::MakeReadOnly(RegKey root, const std::string& key) {
    HKEY created = nullptr;
    RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &created,
                    nullptr);
    RegCloseKey(created);
    readOnly_.insert({root, key});
    EXPECT_TRUE(Protect(root, key, true)) << key;
}

void WineMachine::SetServerList(const std::string& bytes) {
    std::ofstream(std::filesystem::path(directory_ + L"\\server.pxy"), std::ios::binary) << bytes;
}

void WineMachine::AddCacheEntry(const scenario::CacheEntry& entry) {
    EXPECT_TRUE(CommitUrlCacheEntryA(entry.url.c_str(), nullptr, {}, {},
                                     entry.cookie ? COOKIE_CACHE_ENTRY : 0, nullptr, 0, nullptr,
                                     nullptr))
        << entry.url;
}

// Wine lists every entry when no pattern is given, cookies too.
std::vector<scenario::CacheEntry> WineMachine::CacheEntries() {
    std::vector<scenario::CacheEntry> entries;
    std::vector<char> block(1 << 20);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = block.size();
    const HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
    for (bool found = find != nullptr; found; found = FindNextUrlCacheEntryA(find, info, &size)) {
        entries.push_back(
            {info->lpszSourceUrlName, (info->CacheEntryType & COOKIE_CACHE_ENTRY) != 0});
        size = block.size();
    }
    FindCloseUrlCache(find);
    return entries;
}

// Read where Wine reads it, from outside the programs: the default route and
// the neighbour table of Linux, through the drive Wine shows its root as.
std::vector<ConnectedNetwork> WineMachine::Networks() {
    std::vector<ConnectedNetwork> networks;
    std::ifstream routes("Z:\\proc\\net\\route");
    std::string interface, destination, gateway, rest;
    std::getline(routes, rest);  // the heading
    while (routes >> interface >> destination >> gateway && std::getline(routes, rest)) {
        const unsigned long address = std::stoul(gateway, nullptr, 16);  // in memory order
        if (destination == "00000000" && address != 0) {
            networks.push_back({interface, "", "", "", "", "", 0});
            std::string& text = networks.back().gateway;
            for (int i = 0; i < 4; ++i) {
                text += std::to_string((address >> 8 * i) & 0xFF);
                text += i < 3 ? "." : "";
            }
        }
    }
    std::ifstream neighbours("Z:\\proc\\net\\arp");
    std::string ip, type, flags, mac;
    std::getline(neighbours, rest);
    while (neighbours >> ip >> type >> flags >> mac && std::getline(neighbours, rest)) {
        for (ConnectedNetwork& network : networks) {
            if (network.gateway == ip && flags == "0x2") {
                std::replace(mac.begin(), mac.end(), ':', '-');
                network.gatewayMac = mac;
            }
        }
    }
    return networks;
}
