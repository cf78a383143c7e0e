// What every command does with its command line, whatever the command.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::test {
namespace {

ProcessResult Orvella(const TempDir& home, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.Path().string()});
  return RunProcess(BinaryPath("orvella"), args);
}

TEST(CommandLine, ExtraOrRepeatedArgumentsAreRefusedWithTheUsage) {
  TempDir home;
  WriteFileBytes(home / "page.tif", "not read");
  const std::vector<std::vector<std::string>> lines = {
      {"settings", "dump", "extra"},
      {"settings", "check", "extra"},
      {"printer-check", "a", "b"},
      {"tool", "tiff-info", "a.tif", "b.tif"},
      {"tool", "tiff-rotate", "a.tif", "b.tif", "c.tif", "--angle", "90"},
      {"tool", "tiff-rotate", "a.tif", "b.tif", "--angle", "90", "--angle", "180"},
      {"settings", "dump", "--show-secrets", "--show-secrets"},
  };
  for (const auto& line : lines) {
    const auto r = Orvella(home, line);
    EXPECT_EQ(r.exitCode, 2) << line[1];
    EXPECT_NE(r.err.find("usage: orvella"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
}

TEST(CommandLine, EveryCommandExplainsItselfAfterHelp) {
  TempDir home;
  for (const std::string command : {"settings dump", "settings check", "printer-check", "tool convert-tiff",
                                    "tool raster-job", "tool plot-job", "tool tiff-rotate", "tool send"}) {
    std::vector<std::string> words;
    for (size_t start = 0; start <= command.size();) {
      const size_t end = std::min(command.find(' ', start), command.size());
      words.push_back(command.substr(start, end - start));
      start = end + 1;
    }
    words.push_back("--help");
    const auto r = Orvella(home, words);
    EXPECT_EQ(r.exitCode, 0) << command << r.err;
    EXPECT_EQ(r.out.rfind("usage: orvella " + command, 0), 0u) << r.out;
    EXPECT_GT(r.out.size(), 100u) << command;
  }
  // The keys of a JSON input are listed with their types.
  const auto convert = Orvella(home, {"tool", "convert-tiff", "--help"});
  for (const char* key : {"sheet_width_mm", "tray_name", "stamps", "halftone"})
    EXPECT_NE(convert.out.find(key), std::string::npos) << key;
  EXPECT_FALSE(std::filesystem::exists(home / "TEMP"));  // help touches nothing
}

// A JSON input of absurd size is refused before it is read into memory.
TEST(CommandLine, AHugeJsonInputIsRefusedUnread) {
  TempDir home;
  WriteFileBytes(home / "in.tif", "x");
  WriteFileBytes(home / "huge.json", "{");
  std::filesystem::resize_file(home / "huge.json", std::uintmax_t{1} << 30);  // sparse
  const auto r = Orvella(home, {"tool", "convert-tiff", (home / "in.tif").string(),
                                (home / "out.prn").string(), "--request", (home / "huge.json").string()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("a JSON input holds at most"), std::string::npos) << r.err;
}

TEST(CommandLine, AnOutputThatIsTheInputIsRefusedAndTheInputKept) {
  TempDir home;
  std::filesystem::create_directory(home / "sub");
  WriteFileBytes(home / "in.tif", "the operator's drawing");
  WriteFileBytes(home / "options.json", R"({"resolution": 600})");
  std::filesystem::create_symlink(home / "in.tif", home / "link.tif");
  const std::string in = (home / "in.tif").string();
  for (const std::string& out : {in, (home / "sub/../in.tif").string(), (home / "link.tif").string()}) {
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"tool", "convert-tiff", in, out, "--request",
                                   (home / "options.json").string()},
          {"tool", "raster-job", in, out, "--options", (home / "options.json").string()},
          {"tool", "tiff-rotate", in, out, "--angle", "90"}}) {
      const auto r = Orvella(home, line);
      EXPECT_EQ(r.exitCode, 2) << line[1] << " " << out;
      EXPECT_NE(r.err.find("is the input file"), std::string::npos) << r.err;
    }
  }
  EXPECT_EQ(ReadFileBytes(home / "in.tif"), "the operator's drawing");
}

}  // namespace
}  // namespace orvella::test
