// The orvella binary without a subcommand: a second start on the same program
// folder hands over to the first and ends with -1, logging nothing; the
// headless service holds the folder against the windows too; SIGTERM ends the
// windows as the exit command does.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "gui/gui_fixture.h"
#include "support/background_process.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::cli {
namespace {

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
    for (int i = 0; i < 200 && test::CountInJobLogs(home.Path(), "起動") == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(test::CountInJobLogs(home.Path(), "起動"), 1) << first.Output();

    const auto second =
        orvella::test::RunProcess(orvella::test::BinaryPath("orvella"), {"--home", home.Path().string()}, 20);
    EXPECT_EQ(second.exitCode, 255) << second.err;
    EXPECT_EQ(
        second.err.find("is in use by orvella process " + std::to_string(first.Pid())) != std::string::npos,
        service)
        << second.err;
    EXPECT_EQ(test::CountInJobLogs(home.Path(), "起動"), 1);
    EXPECT_FALSE(first.WaitExit(std::chrono::milliseconds(0))) << "service " << service;
  }
}

TEST(ExitSignal, SigtermEndsTheWindowsLikeTheExitCommand) {
  orvella::test::TempDir home;
  orvella::test::BackgroundProcess gui(orvella::test::BinaryPath("orvella"), {"--home", home.Path().string()},
                                       home / "gui.out");
  for (int i = 0; i < 200 && test::CountInJobLogs(home.Path(), "起動") == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(test::CountInJobLogs(home.Path(), "起動"), 1) << gui.Output();
  ASSERT_EQ(::kill(gui.Pid(), SIGTERM), 0);
  EXPECT_EQ(gui.WaitExit(std::chrono::seconds(10)), 0) << gui.Output();
  EXPECT_EQ(test::CountInJobLogs(home.Path(), "終了"), 1);
}

}  // namespace
}  // namespace orvella::cli
