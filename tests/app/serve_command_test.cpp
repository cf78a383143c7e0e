// orvella serve as a service manager runs it: started in the background,
// stopped by a signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "base/text_codec.h"
#include "support/background_process.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using namespace std::chrono_literals;

class ServeTest : public ::testing::Test {
 protected:
  ServeTest() {
    std::filesystem::copy(ORVELLA_EXAMPLES "/program-folder", home, std::filesystem::copy_options::recursive);
  }

  std::unique_ptr<test::BackgroundProcess> Start(const std::string& output) {
    return std::make_unique<test::BackgroundProcess>(
        test::BinaryPath("orvella"), std::vector<std::string>{"serve", "--home", home.string()},
        dir / output);
  }

  // Waits until the output holds text; false when it did not come in time.
  static bool WaitForText(const test::BackgroundProcess& process, const std::string& text) {
    for (int i = 0; i < 200; ++i) {
      if (process.Output().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  // The job log's lines of every day, as UTF-8.
  std::string JobLog() const {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(home / "LOG"))
      text += base::Cp932ToUtf8(test::ReadFileBytes(entry.path()));
    return text;
  }

  static int Count(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  test::TempDir dir;
  std::filesystem::path home = dir / "home";
};

TEST_F(ServeTest, OneServicePerFolderAndSigtermExitsAfterLoggingTheEnd) {
  auto first = Start("first.out");
  ASSERT_TRUE(WaitForText(*first, "state 稼動中")) << first->Output();

  const auto second = test::RunProcess(test::BinaryPath("orvella"), {"serve", "--home", home.string()}, 20);
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_NE(second.err.find("orvella process " + std::to_string(first->Pid())), std::string::npos)
      << second.err;
  EXPECT_EQ(Count(JobLog(), "起動"), 1);  // the second one logged nothing

  const auto asked = std::chrono::steady_clock::now();
  ASSERT_EQ(::kill(first->Pid(), SIGTERM), 0);
  EXPECT_EQ(first->WaitExit(10s), 0) << first->Output();
  // An idle service ends after at most a tick, the stop-pending wait and the
  // short exit tick (1.6 s).
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 3s);
  EXPECT_NE(first->Output().find("state 停止待機中"), std::string::npos) << first->Output();
  EXPECT_NE(first->Output().find("state 停止中"), std::string::npos);
  EXPECT_EQ(Count(JobLog(), "終了"), 1);

  // The kernel gives the lock back even when a service is killed outright.
  auto killed = Start("killed.out");
  ASSERT_TRUE(WaitForText(*killed, "state 稼動中")) << killed->Output();
  ASSERT_EQ(::kill(killed->Pid(), SIGKILL), 0);
  killed->WaitExit(10s);
  auto third = Start("third.out");
  EXPECT_TRUE(WaitForText(*third, "state 稼動中")) << third->Output();
  EXPECT_EQ(third->Stop(), 0);
}

TEST_F(ServeTest, WithoutInputFoldersItSaysSoAndExitsOne) {
  std::filesystem::remove(home / "INI/INPUT.INI");
  const auto result = test::RunProcess(test::BinaryPath("orvella"), {"serve", "--home", home.string()}, 20);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("入力設定がありません。"), std::string::npos) << result.err;
  EXPECT_EQ(Count(JobLog(), "起動"), 1);
  EXPECT_EQ(Count(JobLog(), "終了"), 1);
}

}  // namespace
}  // namespace orvella
