#pragma once
// Runs scenario tables (tests/scenarios/*.txt; the format is told at the top
// of dialog.txt) through the drivers, one GoogleTest test per scenario.
#include <functional>
#include <memory>
#include <string>

#include "tests/scenario/drivers.h"

namespace scenario {

// What one scenario runs against, made fresh for each. A table that has no
// dialog steps needs no dialog driver, one without console runs no console.
struct Drivers {
    std::unique_ptr<Machine> machine;
    std::unique_ptr<DialogDriver> dialog;
    std::unique_ptr<CliDriver> cli;
};
using DriversFactory = std::function<Drivers()>;

// Registers each scenario of the table file as the test suite.Title; call it
// before RUN_ALL_TESTS. Scenarios marked "natively" run only where native is
// true. A table that cannot be read throws.
void RegisterScenarios(const std::string& suite, const std::string& path, DriversFactory make,
                       bool native = true);

}  // namespace scenario
