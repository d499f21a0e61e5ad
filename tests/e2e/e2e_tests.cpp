// The real Vormet.exe under Wine: what does not fit a scenario row.
//   e2e_tests <path of Vormet.exe> [gtest flags]
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/wine_dialog.h"
#include "tests/support/wine_machine.h"

namespace {

using scenario::Root;

scenario::RegValue Dword(std::uint32_t value) {
    return {REG_DWORD, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                        static_cast<std::uint8_t>(value >> 16),
                        static_cast<std::uint8_t>(value >> 24)}};
}

class E2e : public ::testing::Test {
  protected:
    void SetUp() override { machine.Clean(); }
    WineMachine machine;
};

TEST_F(E2e, BoxCaptionIsTheNameTheExecutableWasStartedUnder) {
    const std::wstring copy = machine.Directory() + L"\\Other.exe";
    ASSERT_TRUE(CopyFileW(VormetExe().c_str(), copy.c_str(), FALSE));
    {
        WineDialog other(copy, machine.Directory());
        other.Open({});  // nothing stored: the six reads fail
        EXPECT_EQ(other.captions, std::vector<std::string>(6, "Other"));
        EXPECT_TRUE(other.Close(scenario::CloseBy::kEsc));
    }
    DeleteFileW(copy.c_str());
}

// Nothing limits the instances; each reads at its own start and stores its
// own clicks at once, and neither re-reads what the other stored.
TEST_F(E2e, TwoInstancesEachStoreTheirOwnClicks) {
    WineDialog first(VormetExe(), machine.Directory());
    WineDialog second(VormetExe(), machine.Directory());
    first.Open({});
    first.Click(IDC_SCRIPT_ALLOW, {});
    EXPECT_EQ(second.Open({}).boxes.size(), 5u);  // 1400 is stored now
    EXPECT_TRUE(second.Checked(IDC_SCRIPT_ALLOW));
    second.Click(IDC_COOKIE_DISALLOW, {});
    first.Click(IDC_JAVA_LOW, {});
    EXPECT_EQ(machine.Value(Root::kCurrentUser, kZoneKey, "1400"), Dword(0));
    EXPECT_EQ(machine.Value(Root::kCurrentUser, kZoneKey, "1A02"), Dword(3));
    EXPECT_EQ(machine.Value(Root::kCurrentUser, kZoneKey, "1C00"), Dword(0x30000));
    EXPECT_FALSE(first.Checked(IDC_COOKIE_DISALLOW));
    EXPECT_FALSE(second.Checked(IDC_JAVA_LOW));
    EXPECT_TRUE(first.Close(scenario::CloseBy::kEsc));
    EXPECT_TRUE(second.Close(scenario::CloseBy::kCloseBox));
}

}  // namespace

