#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/registry_access.h"
#include "tests/support/fake_registry.h"

namespace {

constexpr const char kKey[] = "Software\\Test\\Key";

class RegistryAccessTest : public ::testing::Test {
  protected:
    FakeRegistry fake;
    CRegistryAccess access{fake};
    char buffer[260] = {};
};

TEST_F(RegistryAccessTest, ReadsStringsUpToTheBufferAndNoFurther) {
    fake.SetString(kKey, "fits", std::string(259, 'a'));
    fake.SetString(kKey, "over", std::string(260, 'b'));
    EXPECT_EQ(access.ReadString(kHkeyCurrentUser, kKey, "fits", buffer, sizeof buffer), 1);
    EXPECT_EQ(std::string(buffer), std::string(259, 'a'));
    EXPECT_EQ(access.ReadString(kHkeyCurrentUser, kKey, "over", buffer, sizeof buffer), 0);
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, EndsAStoredTextThatLacksItsZeroByte) {
    fake.SetRaw(kKey, "bare", kRegSz, {'h', 'o', 's', 't'});
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(access.ReadString(kHkeyCurrentUser, kKey, "bare", buffer, sizeof buffer), 1);
    EXPECT_EQ(std::string(buffer), "host");

    // Filling the whole buffer without an end leaves nothing safe to show.
    fake.SetRaw(kKey, "full", kRegBinary, std::vector<std::uint8_t>(8, 'z'));
    char small[8];
    EXPECT_EQ(access.ReadString(kHkeyCurrentUser, kKey, "full", small, sizeof small), 0);
}

TEST_F(RegistryAccessTest, MissingKeyOrValueIsUnreadable) {
    std::uint32_t value = 0;
    EXPECT_EQ(access.ReadDword(kHkeyCurrentUser, kKey, "none", &value), 0);
    fake.SetDword(kKey, "other", 1);
    EXPECT_EQ(access.ReadDword(kHkeyCurrentUser, kKey, "none", &value), 0);
    EXPECT_EQ(access.ReadString(kHkeyCurrentUser, kKey, "none", buffer, sizeof buffer), 0);
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, KeyWithoutFullAccessCannotBeReadOrWritten) {
    fake.SetDword(kKey, "v", 7);
    fake.DenyFullAccess(kKey);
    std::uint32_t value = 0;
    EXPECT_EQ(access.ReadDword(kHkeyCurrentUser, kKey, "v", &value), 0);
    EXPECT_EQ(access.WriteDword(kHkeyCurrentUser, kKey, "v", 1), 0);
    EXPECT_EQ(fake.GetDword(kKey, "v"), 7u);
}

TEST_F(RegistryAccessTest, DwordReadAcceptsAnyTypeOfExactlyFourBytes) {
    std::uint32_t value = 0;
    fake.SetRaw(kKey, "text", kRegSz, {'a', 'b', 'c', 0});
    ASSERT_EQ(access.ReadDword(kHkeyCurrentUser, kKey, "text", &value), 1);
    EXPECT_EQ(value, 0x00636261u);
}

TEST_F(RegistryAccessTest, DwordReadRejectsShortAndLongValuesAndKeepsTheVariable) {
    for (std::size_t length : {0u, 1u, 2u, 3u, 5u, 8u}) {
        fake.SetRaw(kKey, "odd", kRegBinary, std::vector<std::uint8_t>(length, 0x11));
        std::uint32_t value = 0xCAFEF00D;
        EXPECT_EQ(access.ReadDword(kHkeyCurrentUser, kKey, "odd", &value), 0) << length;
        EXPECT_EQ(value, 0xCAFEF00Du) << length;
    }
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, WritesCreateMissingKeysAndStoreTypedValues) {
    ASSERT_EQ(access.WriteString(kHkeyCurrentUser, kKey, "s", "proxy:8080"), 1);
    ASSERT_EQ(access.WriteDword(kHkeyCurrentUser, kKey, "d", 0x30000), 1);
    EXPECT_TRUE(fake.HasKey("Software\\Test"));
    const auto text = fake.Get(kKey, "s");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, kRegSz);
    EXPECT_EQ(text->data.size(), 11u);  // the zero byte is stored too
    EXPECT_EQ(fake.GetDword(kKey, "d"), 0x30000u);
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

TEST_F(RegistryAccessTest, FailedStoreReportsFailureAndClosesTheKey) {
    fake.FailStores(true);
    EXPECT_EQ(access.WriteDword(kHkeyCurrentUser, kKey, "d", 1), 0);
    EXPECT_EQ(access.WriteString(kHkeyCurrentUser, kKey, "s", "x"), 0);
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

}  // namespace
