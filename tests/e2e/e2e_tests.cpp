// The real Vormet.exe under Wine: every scenario of the dialog's table, and
// two instances side by side, which a row cannot hold.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/wine_dialog.h"
#include "tests/scenario/interpreter.h"
#include "tests/support/wine_machine.h"

namespace {

using scenario::Root;

const bool kScenarios = [] {
    scenario::RegisterScenarios("Dialog", "Z:" QELTRIN_SCENARIOS "/dialog.txt", [] {
        scenario::Drivers drivers;
        auto machine = std::make_unique<WineMachine>();
        drivers.dialog = std::make_unique<WineDialog>(VormetExe(), machine->Directory());
        drivers.machine = std::move(machine);
        return drivers;
    }, false);
    return true;
}();

scenario::RegValue Dword(std::uint8_t low, std::uint8_t third = 0) {
    return {REG_DWORD, {low, 0, third, 0}};
}

// Nothing limits the instances; each reads at its own start, stores its own
// clicks at once and re-reads nothing the other stored.
TEST(TwoInstances, EachStoresItsOwnClicks) {
    WineMachine machine;
    machine.Clean();
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
    EXPECT_EQ(machine.Value(Root::kCurrentUser, kZoneKey, "1C00"), Dword(0, 3));
    EXPECT_FALSE(first.Checked(IDC_COOKIE_DISALLOW));
    EXPECT_FALSE(second.Checked(IDC_JAVA_LOW));
    EXPECT_TRUE(first.Close(scenario::CloseBy::kEsc));
    EXPECT_TRUE(second.Close(scenario::CloseBy::kEsc));
}

}  // namespace
