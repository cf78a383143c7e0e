// The orvella binary without a subcommand: a second start on the same program
// folder hands over to the first and ends with -1, logging nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

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

TEST(SecondStart, HandsOverToTheFirstAndExitsWithMinusOne) {
  orvella::test::TempDir home;
  orvella::test::BackgroundProcess first(orvella::test::BinaryPath("orvella"),
                                         {"--home", home.Path().string()}, home / "first.out");
  for (int i = 0; i < 200 && CountInLogs(home.Path(), "起動") == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(CountInLogs(home.Path(), "起動"), 1) << first.Output();

  const auto second =
      orvella::test::RunProcess(orvella::test::BinaryPath("orvella"), {"--home", home.Path().string()}, 20);
  EXPECT_EQ(second.exitCode, 255) << second.err;
  EXPECT_EQ(CountInLogs(home.Path(), "起動"), 1);
  EXPECT_FALSE(first.WaitExit(std::chrono::milliseconds(0)));
}

}  // namespace
}  // namespace orvella::cli
