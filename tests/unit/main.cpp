// The dialog's scenarios run natively twice: over a URL cache that lists
// every entry when no pattern is given, as Wine's does, and over one that
// lists content entries only, as Windows' does.
#include <gtest/gtest.h>

#include "tests/support/sim_window.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (const bool contentOnly : {false, true}) {
        scenario::RegisterScenarios(contentOnly ? "DialogOverWindowsCache" : "Dialog",
                                    QELTRIN_SCENARIOS "/dialog.txt",
                                    [contentOnly] { return NativeDrivers(contentOnly); });
    }
    scenario::RegisterScenarios("Limits", QELTRIN_SCENARIOS "/limits.txt",
                                [] { return NativeDrivers(false); });
    return RUN_ALL_TESTS();
}
