#pragma once
// A program folder for orvella serve: one hot folder that prints to the
// simulated printer "plotter" (ready, a roll of 297 mm), no retries.
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/printer_sim.h"

namespace orvella::test {

void PrepareServeHome(const std::filesystem::path& home, const std::filesystem::path& hot,
                      const SimulatedPrinter& sim);

// Three A4 pages that differ, so each page's print file is told apart.
void WriteThreePages(const std::filesystem::path& file);

// Polls done every 20 ms until it holds or limit has passed.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds limit) {
  for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

}  // namespace orvella::test
