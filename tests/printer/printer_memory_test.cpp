#include "printer/printer_memory.h"

#include <gtest/gtest.h>

#include <thread>

namespace orvella::printer {
namespace {

TEST(PrinterMemoryTableTest, RebuildFillsReplenishAndReserveStayInBounds) {
  PrinterMemoryTable table;
  table.Rebuild(2, 10240, 100);
  ASSERT_EQ(table.Size(), 2u);
  EXPECT_EQ(table.Entry(1)->free, 10240 * 1024);
  EXPECT_EQ(table.Entry(1)->capacity, 10240 * 1024);
  EXPECT_EQ(table.Entry(1)->drainPerTick, 100 * 1024);
  EXPECT_FALSE(table.Entry(2));

  EXPECT_EQ(table.Reserve(0, 10240 * 1024 + 1), 0);  // never below 0
  EXPECT_EQ(table.Entry(1)->free, 10240 * 1024);     // other printers untouched
  table.Replenish();
  EXPECT_EQ(table.Entry(0)->free, 100 * 1024);
  table.Replenish();
  EXPECT_EQ(table.Reserve(0, 1000), 200 * 1024 - 1000);
  for (int i = 0; i < 200; ++i) table.Replenish();
  EXPECT_EQ(table.Entry(0)->free, 10240 * 1024);  // capped at capacity
  EXPECT_FALSE(table.Reserve(2, 1));

  table.Rebuild(1, 50, 5);  // a new start: full again, in the new list's length
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_EQ(table.Entry(0)->free, 50 * 1024);
}

TEST(PrinterMemoryTableTest, LargeAndNegativeSettings) {
  PrinterMemoryTable table;
  table.Rebuild(1, 4'000'000, -5);  // beyond 32-bit bytes; a negative drain drains nothing
  EXPECT_EQ(table.Entry(0)->capacity, std::int64_t{4'000'000} * 1024);
  EXPECT_EQ(table.Entry(0)->drainPerTick, 0);
  table.Rebuild(1, -1, 1);
  EXPECT_EQ(table.Entry(0)->capacity, 0);
}

// The timer thread adds while the job worker takes: no update may be lost.
TEST(PrinterMemoryTableTest, ConcurrentTickAndReservationLoseNothing) {
  constexpr int kRounds = 200'000;
  PrinterMemoryTable table;
  table.Rebuild(1, 1'000'000, 1);
  const std::int64_t half = *table.Reserve(0, std::int64_t{500'000} * 1024);
  // Drain 1 kB per tick against reservations of 1 kB: far from both bounds, so the sum must hold.
  std::thread ticks([&] {
    for (int i = 0; i < kRounds; ++i) table.Replenish();
  });
  for (int i = 0; i < kRounds; ++i) table.Reserve(0, 1024);
  ticks.join();
  EXPECT_EQ(table.Entry(0)->free, half);
}

}  // namespace
}  // namespace orvella::printer
