#include "tests/support/wine_machine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "store/owner.h"
#include "store/registry_paths.h"
#include "tests/support/wine_url_cache.h"

namespace {

using scenario::Root;

struct KeyCloser {
    static HKEY None() { return nullptr; }
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = Owner<HKEY, KeyCloser>;

HKEY RootKey(Root root) {
    return root == Root::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

Key Open(Root root, const std::string& path, REGSAM access, bool create = false) {
    HKEY key = nullptr;
    if (create) {
        RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr);
    } else {
        RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key);
    }
    return Key(key);
}

// Lets everyone do everything with the key; when readOnly, the current user
// is first denied every change, so opening it with full access fails too.
bool Protect(Root root, const std::string& path, bool readOnly) {
    const Key key = Open(root, path, WRITE_DAC);
    HANDLE token = nullptr;
    BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    BYTE aclBytes[256];
    const auto acl = reinterpret_cast<PACL>(aclBytes);
    SECURITY_DESCRIPTOR descriptor;
    bool ok = key.Valid() && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
              GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
              CreateWellKnownSid(WinWorldSid, nullptr, everyone, &(size = sizeof everyone)) &&
              InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    if (token != nullptr) {
        CloseHandle(token);
    }
    if (ok && readOnly) {
        ok = AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE,
                                reinterpret_cast<TOKEN_USER*>(user)->User.Sid);
    }
    return ok && AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone) &&
           InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
           RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

std::wstring ServerList(const std::wstring& directory) {
    return directory + L"\\server.pxy";
}

}  // namespace

WineMachine::WineMachine() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    directory_ = temp + std::wstring(L"qeltrin-") + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(directory_.c_str(), nullptr);
}

WineMachine::~WineMachine() {
    DeleteFileW(ServerList(directory_).c_str());
    RemoveDirectoryW(directory_.c_str());
}

void WineMachine::Clean() {
    // The programs' own keys too: a run that died may have left them read-only.
    readOnly_.insert({Root::kCurrentUser, kZoneKey, ""});
    readOnly_.insert({Root::kCurrentUser, kSettingsKey, ""});
    for (const auto& [root, key, unused] : readOnly_) {
        Protect(root, key, false);
    }
    for (const char* name : {"1400", "1402", "1C00", "1A02", "1A03"}) {
        planted_.insert({Root::kCurrentUser, kZoneKey, name});
    }
    for (const char* name : {"ProxyEnable", "ProxyServer", "ProxyOverride"}) {
        planted_.insert({Root::kCurrentUser, kSettingsKey, name});
    }
    for (const auto& [root, key, name] : planted_) {
        RegDeleteKeyValueA(RootKey(root), key.c_str(), name.c_str());
    }
    for (const Root root : {Root::kCurrentUser, Root::kLocalMachine}) {
        RegDeleteTreeA(RootKey(root), kPolicySettingsKey);
    }
    DeleteFileW(ServerList(directory_).c_str());
    EXPECT_TRUE(wine_cache::Empty()) << "the URL cache could not be emptied";
}

void WineMachine::SetValue(Root root, const std::string& key, const std::string& name,
                           const std::optional<scenario::RegValue>& value) {
    if (!value) {
        RegDeleteKeyValueA(RootKey(root), key.c_str(), name.c_str());
        return;
    }
    planted_.insert({root, key, name});
    const Key opened = Open(root, key, KEY_SET_VALUE, true);
    ASSERT_EQ(RegSetValueExA(opened.Get(), name.c_str(), 0, value->type, value->bytes.data(),
                             static_cast<DWORD>(value->bytes.size())),
              ERROR_SUCCESS)
        << key << "\\" << name;
    // The registry keeps texts as UTF-16: bytes that are no text in code page
    // 932 reach the programs' A calls only in a value of a byte type.
    EXPECT_EQ(Value(root, key, name), value) << name << ": the A calls do not see it as planted";
}

std::optional<scenario::RegValue> WineMachine::Value(Root root, const std::string& key,
                                                     const std::string& name) {
    const Key opened = Open(root, key, KEY_QUERY_VALUE);
    scenario::RegValue value;
    DWORD size = 0;
    if (RegQueryValueExA(opened.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    DWORD type = 0;
    if (RegQueryValueExA(opened.Get(), name.c_str(), nullptr, &type, value.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.type = type;
    value.bytes.resize(size);
    return value;
}

void WineMachine::MakeReadOnly(Root root, const std::string& key) {
    Open(root, key, KEY_READ, true);
    readOnly_.insert({root, key, ""});
    EXPECT_TRUE(Protect(root, key, true)) << key;
}

void WineMachine::SetServerList(const std::string& bytes) {
    const HANDLE file = CreateFileW(ServerList(directory_).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(file);
}

void WineMachine::AddCacheEntry(const scenario::CacheEntry& entry) {
    EXPECT_TRUE(wine_cache::Seed(entry.url, entry.cookie)) << entry.url;
}

std::vector<scenario::CacheEntry> WineMachine::CacheEntries() {
    std::vector<scenario::CacheEntry> entries;
    for (const wine_cache::Entry& entry : wine_cache::Read()) {
        entries.push_back({entry.url, entry.Cookie()});
    }
    return entries;
}
