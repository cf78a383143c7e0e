#pragma once
// A program folder for orvella serve: one hot folder that prints to the
// simulated printer "plotter" (ready, a roll of 297 mm), no retries.
#include <filesystem>

#include "support/printer_sim.h"

namespace orvella::test {

void PrepareServeHome(const std::filesystem::path& home, const std::filesystem::path& hot,
                      const SimulatedPrinter& sim);

}  // namespace orvella::test
