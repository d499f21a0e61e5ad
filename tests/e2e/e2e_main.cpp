// Entry of the end-to-end suite: e2e_tests <path of the executable> [gtest flags]
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_tests <path of the executable> [gtest flags]\n");
        return 2;
    }
    e2e::SetExeUnderTest(e2e::WindowsPath(argv[1]));
    // A run that died mid-test may have left the zone key read-only.
    e2e::RemoveDenyEntries(kZoneKey);
    if (!e2e::WarmUpDesktop()) {
        std::fprintf(stderr, "e2e_tests: %s\n", e2e::kNoDesktopHint);
        return 1;
    }
    return RUN_ALL_TESTS();
}
