// The growing read of a text value.
#include <gtest/gtest.h>

#include <string>

#include "store/registry_access.h"
#include "tests/support/fake_registry.h"

namespace {

constexpr const char kKey[] = "Software\\Test\\Key";
constexpr std::uint32_t kCap = 1000;

class WholeReadTest : public ::testing::Test {
  protected:
    ReadOutcome Read(const char* name) {
        return access.ReadWholeString(kHkeyCurrentUser, kKey, name, &text, kCap);
    }
    FakeRegistry fake;
    CRegistryAccess access{fake};
    std::string text = "stale";
};

TEST_F(WholeReadTest, ReadsAnyTextThatFitsTheCapWhole) {
    for (const std::size_t length : {0u, 259u, 260u, 600u, 999u}) {
        const std::string stored(length, 'a');
        fake.SetString(kKey, "v", stored);
        EXPECT_EQ(Read("v"), ReadOutcome::kRead) << length;
        EXPECT_EQ(text, stored);
    }
    fake.SetString(kKey, "v", std::string(kCap, 'a'));  // its zero byte is one too many
    EXPECT_EQ(Read("v"), ReadOutcome::kUnreadable);
    EXPECT_EQ(text, "");
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

TEST_F(WholeReadTest, EndsATextAtItsZeroByteOrAfterItsData) {
    fake.SetRaw(kKey, "bare", kRegSz, std::vector<std::uint8_t>(700, 'b'));
    EXPECT_EQ(Read("bare"), ReadOutcome::kRead);
    EXPECT_EQ(text, std::string(700, 'b'));
    fake.SetRaw(kKey, "bare", kRegSz, std::vector<std::uint8_t>(kCap, 'b'));
    EXPECT_EQ(Read("bare"), ReadOutcome::kUnreadable);
    fake.SetRaw(kKey, "inner", kRegBinary, {'a', 0, 'b', 0});
    EXPECT_EQ(Read("inner"), ReadOutcome::kRead);
    EXPECT_EQ(text, "a");
}

TEST_F(WholeReadTest, TellsMissingFromUnreadable) {
    EXPECT_EQ(Read("v"), ReadOutcome::kMissing);  // no key
    fake.SetString(kKey, "other", "x");
    EXPECT_EQ(Read("v"), ReadOutcome::kMissing);  // no value
    fake.DenyFullAccess(kKey);
    EXPECT_EQ(Read("other"), ReadOutcome::kUnreadable);
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

// A value that another program keeps growing between two tries.
class GrowingRegistry final : public RegistrySeam {
  public:
    std::uint32_t needed = 300;
    int queries = 0;
    RegStatus OpenKey(RegKey, const char*, RegKey* key) override {
        *key = 1;
        return kErrorSuccess;
    }
    RegStatus QueryValue(RegKey, const char*, std::uint32_t* type, std::uint8_t*,
                         std::uint32_t* size) override {
        ++queries;
        *type = kRegSz;
        needed += 100;
        *size = needed;
        return kErrorMoreData;
    }
    RegStatus CreateKey(RegKey, const char*, RegKey*) override { return kErrorAccessDenied; }
    RegStatus SetValue(RegKey, const char*, std::uint32_t, const std::uint8_t*,
                       std::uint32_t) override {
        return kErrorAccessDenied;
    }
    RegStatus CloseKey(RegKey) override {
        ++closes;
        return kErrorSuccess;
    }
    int closes = 0;
};

TEST(WholeReadChase, GivesUpOnAValueThatNeverStopsGrowing) {
    GrowingRegistry registry;
    CRegistryAccess access{registry};
    std::string text;
    EXPECT_EQ(access.ReadWholeString(kHkeyCurrentUser, kKey, "v", &text, 1u << 20),
              ReadOutcome::kUnreadable);
    EXPECT_LE(registry.queries, 4);
    EXPECT_EQ(registry.closes, 1);
}

}  // namespace
