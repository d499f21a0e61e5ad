// The scenarios run natively twice: over a URL cache that lists every entry
// when no pattern is given, as Wine's does, and over one that lists content
// entries only, as Windows' does.
#include "tests/scenario/script.h"
#include "tests/support/sim_window.h"

namespace {

const scenario::Platform kNative[] = {
    {"WineLikeCache", [] { return NativeDrivers(false); }, true},
    {"WindowsLikeCache", [] { return NativeDrivers(true); }, true},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Native, DialogScenario, ::testing::ValuesIn(kNative),
                         scenario::PlatformName);
INSTANTIATE_TEST_SUITE_P(Native, CliScenario, ::testing::ValuesIn(kNative), scenario::PlatformName);
