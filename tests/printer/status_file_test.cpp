#include "printer/status_file.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text_codec.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::printer {
namespace {

constexpr const char* kOnline = "Online/Offline : Online.";

class JudgeStatusFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(home / "INI"); }

  PrinterStatusCode Judge(const std::string& content, std::string& errorText) {
    test::WriteFileBytes(home / "temp.stat", content);
    return JudgeStatusFile(home.Path(), home / "temp.stat", errorText);
  }

  void SetLowToner(const std::string& content) { test::WriteFileBytes(home / "INI/Low_Toner.txt", content); }

  test::TempDir home;
};

TEST_F(JudgeStatusFileTest, JudgesTheStateLine) {
  struct Case {
    std::string content;
    PrinterStatusCode code;
    std::string errorText;  // after a call that started with "unchanged"
  };
  const std::string online = std::string("\r\n") + kOnline + "\r\n";
  const Case cases[] = {
      {"Printer (Ready.)" + online, PrinterStatusCode::kReady, "unchanged"},
      {"Printer (Low on Toner.)" + online, PrinterStatusCode::kReady, "unchanged"},
      {"Printer (Panel Off Mode.)" + online, PrinterStatusCode::kPanelOff, "unchanged"},
      {"Printer (Energy Save Mode.)" + online, PrinterStatusCode::kEnergySave, "unchanged"},
      {"Printer (Energy Saver Mode.)" + online, PrinterStatusCode::kEnergySave, "unchanged"},
      {"Printer (Paper Jam.) (Tray 2)" + online, PrinterStatusCode::kPrinterError, "(Paper Jam.)"},
      {"Printer offline" + online, PrinterStatusCode::kPrinterError, ""},
      {"Printer ) reversed (" + online, PrinterStatusCode::kPrinterError, ""},
      // The online line is tested before the state.
      {"Printer (Ready.)\r\nOnline/Offline : Offline.\r\n", PrinterStatusCode::kNotOnline, "unchanged"},
      {"Printer (Ready.)\nonline/offline : online.\n", PrinterStatusCode::kNotOnline, "unchanged"},
      {"Printer (Ready.)\r\n", PrinterStatusCode::kFileNotUsable, "unchanged"},
      {"", PrinterStatusCode::kFileNotUsable, "unchanged"},
      {std::string(8192, 'x') + online, PrinterStatusCode::kFileNotUsable, "unchanged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content.substr(0, 40));
    std::string errorText = "unchanged";
    EXPECT_EQ(Judge(c.content, errorText), c.code);
    EXPECT_EQ(errorText, c.errorText);
  }
  std::string errorText;
  EXPECT_EQ(JudgeStatusFile(home.Path(), home / "missing.stat", errorText),
            PrinterStatusCode::kFileNotUsable);
}

TEST_F(JudgeStatusFileTest, LowTonerFileAddsReadyTextsReadAtEveryJudgement) {
  const std::string stat = std::string("Printer (Toner Near End.)\r\n") + kOnline + "\r\n";
  std::string errorText;
  EXPECT_EQ(Judge(stat, errorText), PrinterStatusCode::kPrinterError);
  EXPECT_EQ(errorText, "(Toner Near End.)");

  SetLowToner("(Toner Near End.)\r\n");
  EXPECT_EQ(Judge(stat, errorText), PrinterStatusCode::kReady);

  // An empty line is no text (it would match every state); only the first 200 lines count.
  std::string lines = "\r\n";
  for (int i = 0; i < 199; ++i) lines += "(Other " + std::to_string(i) + ")\r\n";
  SetLowToner(lines + "(Toner Near End.)\r\n");
  EXPECT_EQ(Judge(stat, errorText), PrinterStatusCode::kPrinterError);

  SetLowToner(std::string(9000, 'x'));  // unreadable: adds nothing
  EXPECT_EQ(Judge(stat, errorText), PrinterStatusCode::kPrinterError);
}

// Printer and Low_Toner.txt texts are CP932 bytes; the error text comes back as UTF-8.
TEST_F(JudgeStatusFileTest, ComparesCp932BytesAndReturnsUtf8) {
  const std::string jam = *base::Utf8ToCp932("(紙づまり)");
  const std::string stat = "Printer " + jam + "\r\n" + kOnline + "\r\n";
  std::string errorText;
  EXPECT_EQ(Judge(stat, errorText), PrinterStatusCode::kPrinterError);
  EXPECT_EQ(errorText, "(紙づまり)");

  SetLowToner(*base::Utf8ToCp932("紙づまり") + "\r\n");
  EXPECT_EQ(Judge(stat, errorText), PrinterStatusCode::kReady);
}

}  // namespace
}  // namespace orvella::printer
