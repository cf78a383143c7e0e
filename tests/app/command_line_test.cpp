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

// A program folder name that is no folder is refused with what is missing,
// before any command reads it as a folder without settings. (An empty folder
// is a program folder not used yet.)
TEST(CommandLine, AProgramFolderThatIsNoFolderIsRefused) {
  TempDir dir;
  WriteFileBytes(dir / "file", "not a folder");
  const std::string file = (dir / "file").string();
  const std::string missing = (dir / "missing").string();
  const std::string orvella = BinaryPath("orvella");
  struct Case {
    std::vector<std::string> line;
    std::string error;
  };
  const Case cases[] = {
      {{orvella, "--home", file, "settings", "dump"},
       file + " is not a program folder: it is a file, not a folder (--home)"},
      {{orvella, "--home", missing, "settings", "check"},
       missing + " is not a program folder: there is no such folder (--home)"},
      {{"ORVELLA_HOME=" + missing, orvella, "printer-check", "plotter"},
       missing + " is not a program folder: there is no such folder ($ORVELLA_HOME)"},
  };
  for (const Case& c : cases) {
    const auto r = RunProcess("/usr/bin/env", c.line);
    EXPECT_EQ(r.exitCode, 1) << c.error;
    EXPECT_EQ(r.err, c.error + "\n");
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
}

// A page below the first is a usage error that says how the command counts,
// and the help of every command with --page says it too.
TEST(CommandLine, EachPageOptionSaysHowItCounts) {
  TempDir home;
  WriteFileBytes(home / "page.tif", "not read");
  const std::string tif = (home / "page.tif").string();
  const std::string out = (home / "out").string();
  const std::string fromZero = "--page counts from 0 (the first page is --page 0); -1 is no page";
  struct Case {
    std::vector<std::string> line;
    std::string error;
  };
  const Case cases[] = {
      {{"tool", "tiff-info", tif, "--page", "-1"}, fromZero},
      {{"tool", "tiff-canvas", tif, out, "--page", "-1", "--width-mm", "1", "--height-mm", "1"}, fromZero},
      {{"tool", "convert-tiff", tif, out, "--request", tif, "--page", "-1"}, fromZero},
      {{"convert", tif, "--folder", "0", "--out", out, "--page", "0"},
       "--page counts from 1 (the first page is --page 1); 0 is no page"},
  };
  for (const Case& c : cases) {
    const auto r = Orvella(home, c.line);
    EXPECT_EQ(r.exitCode, 2) << c.line[1];
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    std::vector<std::string> help(c.line.begin(), c.line.begin() + (c.line[0] == "tool" ? 2 : 1));
    help.push_back("--help");
    const std::string counting = c.line[0] == "tool" ? "counts from 0" : "counted from 1";
    EXPECT_NE(Orvella(home, help).out.find(counting), std::string::npos) << c.line[1];
  }
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
