// orvella tool file-type / judge-stat / parse-info, run as the binary.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::test {
namespace {

using Json = nlohmann::json;

class PrinterFileCommands : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(home / "INI"); }

  Json Run(const std::vector<std::string>& words, int expectedExit = 0) {
    std::vector<std::string> args = {"--home", home.Path().string(), "tool"};
    args.insert(args.end(), words.begin(), words.end());
    const auto result = RunProcess(BinaryPath("orvella"), args, 30);
    EXPECT_EQ(result.exitCode, expectedExit) << result.err;
    return Json::parse(result.out, nullptr, false);
  }

  TempDir home;
};

TEST_F(PrinterFileCommands, JudgeStatUsesLowTonerOfTheHome) {
  WriteFileBytes(home / "stat", "Printer (Toner Near End.)\r\nOnline/Offline : Online.\r\n");
  EXPECT_EQ(Run({"judge-stat", (home / "stat").string()}),
            (Json{{"code", 6},
                  {"error_text", "(Toner Near End.)"},
                  {"detail", "the printer reports \"Printer (Toner Near End.)\""}}));
  WriteFileBytes(home / "INI/Low_Toner.txt", "Toner Near End\r\n");
  EXPECT_EQ(Run({"judge-stat", (home / "stat").string()}), (Json{{"code", 0}, {"error_text", ""}}));
}

TEST_F(PrinterFileCommands, FileTypeFollowsHiddenIni) {
  WriteFileBytes(home / "drawing.plt", "IN;SP1;");
  WriteFileBytes(home / "drawing.prn", std::string("MM\0*", 4));
  EXPECT_EQ(Run({"file-type", (home / "drawing.prn").string()}), (Json{{"ok", true}, {"type", 0}}));
  EXPECT_EQ(Run({"file-type", (home / "drawing.plt").string()}), (Json{{"ok", true}, {"type", 2}}));
  WriteFileBytes(home / "INI/HIDDEN.INI", "[SETTING]\r\nENABLE_UNSUPPORTED_GL=\"TRUE\"\r\n");
  EXPECT_EQ(Run({"file-type", (home / "drawing.plt").string()}), (Json{{"ok", true}, {"type", 1}}));
  EXPECT_EQ(Run({"file-type", (home / "missing").string()}, 1), (Json{{"ok", false}, {"type", 2}}));
}

TEST_F(PrinterFileCommands, ParseInfoListsTheRows) {
  WriteFileBytes(home / "info",
                 "Trays\r\nNo. Name       Page Size Status\r\n---\r\n3   Tray 3 (x) A4R       Ready\r\n\r\n");
  const Json expected = {
      {"ok", true},
      {"records", {{{"number", 3}, {"name", "Tray 3 (x)"}, {"page_size", "A4R"}, {"status", "Ready"}}}}};
  EXPECT_EQ(Run({"parse-info", (home / "info").string()}), expected);
  EXPECT_EQ(Run({"parse-info", (home / "stat").string()}, 1),
            (Json{{"ok", false},
                  {"records", Json::array()},
                  {"detail", (home / "stat").string() + " cannot be read"}}));
}

}  // namespace
}  // namespace orvella::test
