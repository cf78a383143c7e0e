#include "printer/snmp_status.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/printer_sim.h"
#include "support/timing.h"

namespace orvella::printer {
namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The library's persistent folder, a scratch folder the process set-up
// removed after the start-up: nothing may appear in it.
std::filesystem::path PersistentDir() { return get_persistent_directory(); }

class SnmpStatusTest : public ::testing::Test {
 protected:
  SnmpStatus Query(int timeoutMs = 2000) {
    return QueryPrinterStatus("127.0.0.1", timeoutMs, sim.SnmpPort());
  }

  test::SimulatedPrinter sim;
};

TEST_F(SnmpStatusTest, JudgesTheErrorStateByTheSeriousBits) {
  const struct {
    const char* state;
    SnmpStatus expected;
  } cases[] = {
      {"00", SnmpStatus::kNoError},        {"80", SnmpStatus::kNoError},
      {"20", SnmpStatus::kNoError},        {"A0", SnmpStatus::kNoError},
      {"04", SnmpStatus::kErrorState},     {"02", SnmpStatus::kErrorState},
      {"40", SnmpStatus::kErrorState},     {"01", SnmpStatus::kErrorState},
      {"FF", SnmpStatus::kErrorState},     {"0000", SnmpStatus::kUnexpectedAnswer},
      {"", SnmpStatus::kUnexpectedAnswer},
  };
  for (const auto& c : cases) {
    sim.Write("snmp-state", c.state);
    EXPECT_EQ(Query(), c.expected) << "state " << c.state;
  }
  EXPECT_EQ(sim.CountInLog("GetRequest id 12345"), static_cast<int>(std::size(cases)));
  EXPECT_FALSE(std::filesystem::exists(PersistentDir())) << PersistentDir();
}

TEST_F(SnmpStatusTest, WrongAnswersGiveFour) {
  // A query that waited for its time-out would take all of it.
  constexpr int kTimeoutMs = 5000;
  for (const char* fault : {"snmp-two-bytes", "snmp-nosuchname", "snmp-wrong-id"}) {
    sim.Write("faults", fault);
    const auto start = Clock::now();
    EXPECT_EQ(Query(kTimeoutMs), SnmpStatus::kUnexpectedAnswer) << fault;
    EXPECT_LT(ElapsedMs(start), kTimeoutMs / 2) << fault << " was answered, not timed out";
  }
}

TEST_F(SnmpStatusTest, SilenceGivesThreeWithinTheTimeOut) {
  sim.Write("faults", "snmp-silent");
  for (int timeoutMs : {300, 5000}) {
    const auto start = Clock::now();
    EXPECT_EQ(Query(timeoutMs), SnmpStatus::kNoAnswer);
    const long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, timeoutMs - 50);
    // Not the time-out once per try: 10 s for the longer one.
    EXPECT_LE(elapsed, timeoutMs + test::kLateWakeMs);
  }
  // The longer wait was shared among retransmissions; the short one had no room for any.
  EXPECT_EQ(sim.CountInLog("fault snmp-silent"), 1 + 2);
}

TEST(SnmpStatusAddressTest, UnknownHostsGiveThreeAtOnce) {
  // Names no resolver would accept: refused before any lookup leaves the machine.
  for (const char* address : {"bad..name", "-printer", "print er", ""}) {
    const auto start = Clock::now();
    EXPECT_EQ(QueryPrinterStatus(address, 5000, 9), SnmpStatus::kNoAnswer) << address;
    EXPECT_LT(ElapsedMs(start), test::kLateWakeMs) << address;  // no lookup, no wait for the 5 s
  }
}

}  // namespace
}  // namespace orvella::printer
