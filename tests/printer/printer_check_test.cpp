// The printer check against the simulated printer: each answer, and a verdict
// that needs every one of them.
#include "printer/printer_check.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/printer_models.h"
#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::printer {
namespace {

constexpr char kReady[] = "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n";
constexpr char kInfo[] =
    "Trays\r\nNo.  Name            Page Size  Status\r\n---\r\n"
    "1    Tray 1          A4         Ready\r\n3    Tray 3 (Thick)  A4R        Ready\r\n\r\n";

class PrinterCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.program = home.Path();
    context.hidden.printerFtpPort = sim.FtpPort();
    context.hidden.printerSnmpPort = sim.SnmpPort();
    context.hidden.checkRetry = 0;
    context.timings.snmpTimeoutMs = 1000;
    context.timings.statTimeoutMs = 3000;
    wide.name = "plotter";
    wide.ipAddr = {127, 0, 0, 1};
    a2 = wide;
    a2.model = settings::kA2ModelNumber;
    a2.a2TrayStructAuto = true;
  }

  test::TempDir home;
  test::SimulatedPrinter sim;
  PrinterCheckContext context;
  settings::PrinterSetting wide;
  settings::PrinterSetting a2;
};

TEST_F(PrinterCheckTest, TheVerdictNeedsEveryAnswer) {
  struct Case {
    const char* name;
    std::string snmpState, stat;
    bool info, isA2, fit;
    SnmpStatus snmp;
    std::string statMessage;
  };
  const Case cases[] = {
      {"ready wide", "00", kReady, false, false, true, SnmpStatus::kNoError, "正常"},
      {"ready A2 with its trays", "00", kReady, true, true, true, SnmpStatus::kNoError, "正常"},
      {"A2 without tray information", "00", kReady, false, true, false, SnmpStatus::kNoError, "正常"},
      {"jammed by SNMP only", "04", kReady, false, false, false, SnmpStatus::kErrorState, "正常"},
      {"error in the status file only", "00", "Office (Paper Jam.)\r\nOnline/Offline : Online.\r\n", false,
       false, false, SnmpStatus::kNoError, "プリンタエラー((Paper Jam.))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.Write("snmp-state", c.snmpState);
    sim.Write("stat", c.stat);
    std::filesystem::remove(sim.Dir() / "info");
    if (c.info) sim.Write("info", kInfo);
    const PrinterCheck check = CheckPrinter(c.isA2 ? a2 : wide, context);
    EXPECT_EQ(check.printer, "plotter");
    EXPECT_EQ(check.address, "127.0.0.1");
    EXPECT_FALSE(check.notAsked);
    EXPECT_EQ(check.snmp.status, c.snmp);
    EXPECT_EQ(check.snmp.detail.empty(), c.snmp == SnmpStatus::kNoError) << check.snmp.detail;
    EXPECT_EQ(check.stat.outcome.message, c.statMessage);
    ASSERT_EQ(check.trays.has_value(), c.isA2);  // a wide printer is never asked for trays
    if (c.isA2) {
      EXPECT_EQ(check.trays->failure.has_value(), !c.info);
      // The model's seven trays as the file filled them, or none.
      ASSERT_EQ(check.trays->trays.size(), c.info ? 7u : 0u);
      if (c.info) {
        EXPECT_EQ(check.trays->trays[2].size, settings::A2TraySize::kA4Yoko);
      }
    }
    EXPECT_EQ(check.Fit(), c.fit);
  }
  // The fetched files go with the check's work folder.
  EXPECT_TRUE(std::filesystem::is_empty(home / "TEMP"));
}

TEST_F(PrinterCheckTest, APrinterNotAskedSaysWhyAndIsNeverContacted) {
  settings::PrinterSetting unusable = wide;
  unusable.ipAddr = {0, 0, 0, 0};
  const PrinterCheck noAddress = CheckPrinter(unusable, context);
  ASSERT_TRUE(noAddress.notAsked);
  EXPECT_EQ(noAddress.notAsked->message, "プリンタIPアドレスエラー[plotter]");
  EXPECT_FALSE(noAddress.Fit());

  // TEMP cannot be made: a file stands in its place.
  test::WriteFileBytes(home / "TEMP", "x");
  const PrinterCheck noWorkFolder = CheckPrinter(wide, context);
  ASSERT_TRUE(noWorkFolder.notAsked);
  EXPECT_EQ(noWorkFolder.notAsked->message, "作業フォルダの作成エラー");
  EXPECT_NE(noWorkFolder.notAsked->detail.find("TEMP"), std::string::npos) << noWorkFolder.notAsked->detail;
  EXPECT_FALSE(noWorkFolder.Fit());
  EXPECT_EQ(sim.CountInLog("connected"), 0);
  EXPECT_EQ(sim.CountInLog("[snmp"), 0);
}

}  // namespace
}  // namespace orvella::printer
