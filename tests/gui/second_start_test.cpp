// The orvella binary without a subcommand: a second start on the same program
// folder hands over to the first and ends with -1, logging nothing; the
// headless service holds the folder against the windows too.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/text_codec.h"
#include "support/background_process.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::cli {
namespace {

// Occurrences of text in the program folder's job logs.
int CountInLogs(const std::filesystem::path& program, const std::string& text) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(program / "LOG", error)) {
    const std::string log = base::Cp932ToUtf8(orvella::test::ReadFileBytes(entry.path()));
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
  }
  return count;
}

TEST(SecondStart, HandsOverToTheFirstOrMeetsTheServiceAndExitsWithMinusOne) {
  // The first holder: the program with windows, or the headless service
  // (which runs only with an input folder to watch).
  for (const bool service : {false, true}) {
    orvella::test::TempDir home;
    std::filesystem::create_directories(home / "INI");
    std::filesystem::create_directories(home / "hot");
    orvella::test::WriteFileBytes(
        home / "INI/INPUT.INI",
        "[GLOBAL]\r\nNUM_INPUTS=\"1\"\r\n[INPUT_0]\r\nINPUT_DIR=\"" + (home / "hot").string() + "\"\r\n");
    std::vector<std::string> args{"--home", home.Path().string()};
    if (service) args.insert(args.begin(), "serve");
    orvella::test::BackgroundProcess first(orvella::test::BinaryPath("orvella"), args, home / "first.out");
    for (int i = 0; i < 200 && CountInLogs(home.Path(), "起動") == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(CountInLogs(home.Path(), "起動"), 1) << first.Output();

    const auto second =
        orvella::test::RunProcess(orvella::test::BinaryPath("orvella"), {"--home", home.Path().string()}, 20);
    EXPECT_EQ(second.exitCode, 255) << second.err;
    EXPECT_EQ(
        second.err.find("is in use by orvella process " + std::to_string(first.Pid())) != std::string::npos,
        service)
        << second.err;
    EXPECT_EQ(CountInLogs(home.Path(), "起動"), 1);
    EXPECT_FALSE(first.WaitExit(std::chrono::milliseconds(0))) << "service " << service;
  }
}

}  // namespace
}  // namespace orvella::cli
