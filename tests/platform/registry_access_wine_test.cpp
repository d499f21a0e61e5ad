// The accessor over advapi32, against Wine's real registry, in a scratch key
// that each test deletes first.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "store/registry_access.h"

namespace {

constexpr const char kScratch[] = "Software\\QeltrinTests\\Scratch";

class WineRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QeltrinTests"); }

    static void Store(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    CRegistryAccess& access = TheRegistry();
    RegKey root = reinterpret_cast<RegKey>(HKEY_CURRENT_USER);
};

TEST_F(WineRegistryTest, WriteCreatesMissingKeysAndReadsBack) {
    ASSERT_EQ(access.WriteDword(root, kScratch, "1400", 3), 1);
    ASSERT_EQ(access.WriteString(root, kScratch, "ProxyServer", "proxy.example:8080"), 1);
    std::uint32_t value = 0;
    ASSERT_EQ(access.ReadDword(root, kScratch, "1400", &value), 1);
    EXPECT_EQ(value, 3u);
    char text[260];
    ASSERT_EQ(access.ReadString(root, kScratch, "ProxyServer", text, sizeof text), 1);
    EXPECT_STREQ(text, "proxy.example:8080");

    DWORD type = 0;
    DWORD size = 0;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "ProxyServer", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 19u);  // with its zero byte
    RegCloseKey(key);
}

TEST_F(WineRegistryTest, StringOf259FitsTheBufferAnd260DoesNot) {
    const std::string fits(259, 'a');
    const std::string over(260, 'b');
    Store("fits", REG_SZ, fits.c_str(), static_cast<DWORD>(fits.size() + 1));
    Store("over", REG_SZ, over.c_str(), static_cast<DWORD>(over.size() + 1));
    char text[260];
    ASSERT_EQ(access.ReadString(root, kScratch, "fits", text, sizeof text), 1);
    EXPECT_EQ(std::string(text), fits);
    EXPECT_EQ(access.ReadString(root, kScratch, "over", text, sizeof text), 0);
}

TEST_F(WineRegistryTest, OtherTypeThatFitsIsAcceptedShortDwordIsNot) {
    const BYTE four[4] = {0x00, 0x00, 0x03, 0x00};
    const BYTE two[2] = {0x01, 0x00};
    Store("binary4", REG_BINARY, four, sizeof four);
    Store("binary2", REG_BINARY, two, sizeof two);
    std::uint32_t value = 0xDEADBEEF;
    ASSERT_EQ(access.ReadDword(root, kScratch, "binary4", &value), 1);
    EXPECT_EQ(value, 0x30000u);
    value = 0xDEADBEEF;
    EXPECT_EQ(access.ReadDword(root, kScratch, "binary2", &value), 0);
    EXPECT_EQ(value, 0xDEADBEEFu);
}

TEST_F(WineRegistryTest, MissingKeyOrValueIsUnreadable) {
    std::uint32_t value = 0;
    char text[16];
    EXPECT_EQ(access.ReadDword(root, kScratch, "none", &value), 0);
    EXPECT_EQ(access.ReadString(root, kScratch, "none", text, sizeof text), 0);
}

}  // namespace
