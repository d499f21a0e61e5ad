// The scenarios run natively twice: over a URL cache that lists every entry
// when no pattern is given, as Wine's does, and over one that lists content
// entries only, as Windows' does.
#include <gtest/gtest.h>

#include "tests/support/sim_window.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (const bool contentOnly : {false, true}) {
        const auto make = [contentOnly] { return NativeDrivers(contentOnly); };
        const std::string cache = contentOnly ? "OverWindowsCache" : "";
        scenario::RegisterScenarios("Dialog" + cache, QELTRIN_SCENARIOS "/dialog.txt", make);
        scenario::RegisterScenarios("Cli" + cache, QELTRIN_SCENARIOS "/cli.txt", make);
    }
    return RUN_ALL_TESTS();
}
