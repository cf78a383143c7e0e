#include <gtest/gtest.h>

#include "printer/info_file.h"
#include "settings/hidden_settings.h"
#include "settings/program_folders.h"
#include "support/printer_sim.h"
#include "support/temp_dir.h"

namespace orvella::printer {
namespace {

using settings::A2TraySize;
using settings::PaperType;

// ReadTrayInformation against the simulated printer, set up as the program is:
// PRINTER.INI-style record, HIDDEN.INI naming the simulator's FTP port.
class ReadTrayInformationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::CreateApplicationFolders(home.Path());
    SetHidden("1");
    printer.ipAddr = {127, 0, 0, 1};
    printer.model = settings::kA2ModelNumber;
    printer.a2TrayStructAuto = true;
    printer.a2Trays[1] = {A2TraySize::kB4Tate, PaperType::kOther};  // tray 2, named by no row
  }

  void SetHidden(const std::string& checkRetry) {
    test::WriteFileBytes(home / "INI/HIDDEN.INI", "[SETTING]\r\nPRINTER_FTP_PORT=\"" +
                                                      std::to_string(sim.FtpPort()) + "\"\r\nCHECK_RETRY=\"" +
                                                      checkRetry + "\"\r\n");
  }

  test::TempDir home;
  test::SimulatedPrinter sim;
  settings::PrinterSetting printer;
};

const char* const kInfo =
    "Tray Information\r\n"
    "No.  Name                Page Size  Status\r\n"
    "---  ------------------  ---------  ------\r\n"
    "1    Tray 1              A4         Ready\r\n"
    "3    Tray 3 (Thick)      A4R        Ready\r\n"
    "5    Bypass Tray         A3         Ready\r\n"
    "6    Tray 6              Letter     Ready\r\n"
    "7    Tray 7              B5R        Ready\r\n"
    "8    Tray 8              A3         Ready\r\n";

TEST_F(ReadTrayInformationTest, FillsTheNamedTraysUpToTheModelsHighest) {
  sim.Write("info", kInfo);
  base::Failure failure;
  ASSERT_TRUE(ReadTrayInformation(printer, settings::LoadHiddenSettings(home.Path()), home / "TEMP", failure))
      << failure.message;
  const std::array<settings::A2Tray, 7> expected{{
      {A2TraySize::kA4Tate, PaperType::kPlain},
      {A2TraySize::kB4Tate, PaperType::kOther},  // kept
      {A2TraySize::kA4Yoko, PaperType::kOther},  // bracketed remark: special paper
      {A2TraySize::kNone, PaperType::kPlain},
      {A2TraySize::kNone, PaperType::kPlain},
      {A2TraySize::kNone, PaperType::kPlain},  // unknown size: no usable paper
      {A2TraySize::kB5Yoko, PaperType::kPlain},
  }};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(printer.a2Trays[i].size, expected[i].size) << "tray " << i + 1;
    EXPECT_EQ(printer.a2Trays[i].type, expected[i].type) << "tray " << i + 1;
  }
  EXPECT_EQ(test::ReadFileBytes(home / "TEMP/temp.info"), kInfo);

  // A model whose highest tray is 4 skips tray 7.
  settings::PrinterSetting small;
  small.model = 10;
  std::vector<TrayInformation> records;
  ASSERT_TRUE(ParseInformationFile(home / "TEMP/temp.info", records));
  ApplyTrayInformation(records, small);
  EXPECT_EQ(small.a2Trays[2].size, A2TraySize::kA4Yoko);
  EXPECT_EQ(small.a2Trays[6].size, A2TraySize::kNone);
}

TEST_F(ReadTrayInformationTest, LogsInWithTheStoredUserOnlyForBasic) {
  sim.Write("info", kInfo);
  sim.Write("credentials", "plotter:s3cret");
  printer.loginUsername = "plotter";
  printer.loginPassword = "s3cret";
  base::Failure failure;
  EXPECT_FALSE(ReadTrayInformation(printer, settings::LoadHiddenSettings(home.Path()), home / "TEMP",
                                   failure));  // NONE: anonymous
  EXPECT_EQ(failure.message, "プリンタ情報ファイル取得エラー");
  printer.authenticationMode = settings::AuthenticationMode::kBasic;
  EXPECT_TRUE(
      ReadTrayInformation(printer, settings::LoadHiddenSettings(home.Path()), home / "TEMP", failure));
  EXPECT_EQ(sim.CountInLog("USER plotter"), 1);
}

TEST_F(ReadTrayInformationTest, FailuresKeepTheTraysAndSaySo) {
  SetHidden("2");
  const auto before = printer.a2Trays;
  base::Failure failure;
  EXPECT_FALSE(ReadTrayInformation(printer, settings::LoadHiddenSettings(home.Path()), home / "TEMP",
                                   failure));  // no info file: not retried
  EXPECT_EQ(failure.message, "プリンタ情報ファイル取得エラー");
  EXPECT_EQ(sim.CountInLog("] connected"), 1);

  sim.Write("info", "Tray Information\r\nNo. Status Page Size Name\r\n---\r\n1 Ready A4 Tray 1\r\n\r\n");
  EXPECT_FALSE(
      ReadTrayInformation(printer, settings::LoadHiddenSettings(home.Path()), home / "TEMP", failure));
  EXPECT_EQ(failure.message, "プリンタ情報ファイル解析エラー");
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(printer.a2Trays[i].size, before[i].size);
    EXPECT_EQ(printer.a2Trays[i].type, before[i].type);
  }
}

}  // namespace
}  // namespace orvella::printer
