// The scenarios run natively twice: over a URL cache that lists every entry
// when no pattern is given, as Wine's does, and over one that lists content
// entries only, as Windows' does.
#include "tests/scenario/script.h"
#include "tests/support/sim_window.h"

namespace {

const scenario::Platform kWineLike{[] { return NativeDrivers(false); }, true};
const scenario::Platform kWindowsLike{[] { return NativeDrivers(true); }, true};

}  // namespace

INSTANTIATE_TEST_SUITE_P(WineLikeCache, DialogScenario, ::testing::Values(kWineLike));
INSTANTIATE_TEST_SUITE_P(WineLikeCache, CliScenario, ::testing::Values(kWineLike));
INSTANTIATE_TEST_SUITE_P(Native, TrayScenario, ::testing::Values(kWineLike));
INSTANTIATE_TEST_SUITE_P(WindowsLikeCache, DialogScenario, ::testing::Values(kWindowsLike));
INSTANTIATE_TEST_SUITE_P(WindowsLikeCache, CliScenario, ::testing::Values(kWindowsLike));
