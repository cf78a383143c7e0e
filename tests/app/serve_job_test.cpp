// orvella serve printing from a hot folder to a simulated printer, and what
// a SIGKILL in the middle of an upload does to the drawing.
#include <gtest/gtest.h>
#include <signal.h>

#include <map>
#include <set>
#include <thread>

#include "app/serve_home.h"
#include "support/background_process.h"
#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using namespace std::chrono_literals;

class ServeJobTest : public ::testing::Test {
 protected:
  void SetUp() override { test::PrepareServeHome(home, hot, sim); }

  std::unique_ptr<test::BackgroundProcess> Serve(const std::string& output) {
    return std::make_unique<test::BackgroundProcess>(
        test::BinaryPath("orvella"), std::vector<std::string>{"serve", "--home", home.string()},
        dir / output);
  }

  std::filesystem::path DropThreePages() {
    test::WriteThreePages(hot / "three.tif");
    return hot / "three.tif";
  }

  bool UploadInProgress() const {
    for (const auto& entry : std::filesystem::directory_iterator(sim.Dir() / "spool")) {
      if (entry.path().extension() == ".part") return true;
    }
    return false;
  }

  // Complete print files in the spool, by content; a job cut short by the
  // kill is no print file.
  std::map<std::string, int> PrintedJobs() const {
    std::map<std::string, int> printed;
    for (const auto& file : sim.SpoolFiles()) {
      if (test::RunProcess(test::BinaryPath("orvella"), {"tool", "inspect-job", file.string()}).exitCode ==
          0) {
        ++printed[test::ReadFileBytes(file)];
      }
    }
    return printed;
  }

  test::TempDir dir;
  std::filesystem::path home = dir / "home";
  std::filesystem::path hot = dir / "hot";
  test::SimulatedPrinter sim;
};

TEST_F(ServeJobTest, AFileThatCannotPrintGoesToTheErrorFolderAndTheNextOnePrints) {
  test::WriteFileBytes(hot / "notes.txt", "not a drawing");
  const auto source = DropThreePages();
  auto serve = Serve("serve.out");
  ASSERT_TRUE(test::WaitUntil([&] { return !std::filesystem::exists(source); }, 60s)) << serve->Output();
  ASSERT_EQ(::kill(serve->Pid(), SIGTERM), 0);
  EXPECT_EQ(serve->WaitExit(10s), 0);

  const std::string out = serve->Output();
  EXPECT_NE(out.find("job notes.txt (" + hot.string() + ") [failed] 未対応ファイル"), std::string::npos)
      << out;
  EXPECT_NE(out.find("detail notes.txt: "), std::string::npos);
  EXPECT_NE(out.find("[done] 出力済(部数1/1 ページ3/3)"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(hot / "notes.txt"));
  EXPECT_EQ(sim.SpoolFiles().size(), 3u);
  int kept = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(home / "ERROR")) {
    kept += entry.path().filename() == "notes.txt";
  }
  EXPECT_EQ(kept, 1);
}

// Whatever a file name holds, it stays on one line of serve's output and in
// its own field of one job log record.
TEST_F(ServeJobTest, AFileNameWithALineBreakIsOneLineOfOutputAndOneFieldOfTheLog) {
  const std::string name = "13,15 \"A\"\nnotes\t.txt";
  test::WriteFileBytes(hot / name, "not a drawing");
  auto serve = Serve("serve.out");
  ASSERT_TRUE(test::WaitUntil([&] { return !std::filesystem::exists(hot / name); }, 60s)) << serve->Output();
  ASSERT_EQ(::kill(serve->Pid(), SIGTERM), 0);
  EXPECT_EQ(serve->WaitExit(10s), 0);

  const std::string out = serve->Output();
  const std::string shown = "13,15 \"A\"\\nnotes\\t.txt";
  EXPECT_NE(out.find(" job " + shown + " (" + hot.string() + ") [failed] 未対応ファイル\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(" detail " + shown + ": "), std::string::npos) << out;
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(home / "LOG"))
    log += test::ReadFileBytes(entry);
  EXPECT_NE(log.find(",\"13,15 \"\"A\"\"\nnotes\t.txt\","), std::string::npos) << log;
}

TEST_F(ServeJobTest, APrinterFaultStopsTheServiceAndSighupStartsItAgain) {
  sim.Write("snmp-state", "04");
  const auto source = DropThreePages();
  auto serve = Serve("serve.out");
  ASSERT_TRUE(test::WaitUntil([&] { return serve->Output().find("state 停止中") != std::string::npos; }, 30s))
      << serve->Output();
  EXPECT_TRUE(std::filesystem::exists(source));
  EXPECT_TRUE(sim.SpoolFiles().empty());

  sim.Write("snmp-state", "00");
  ASSERT_EQ(::kill(serve->Pid(), SIGHUP), 0);
  ASSERT_TRUE(test::WaitUntil([&] { return !std::filesystem::exists(source); }, 60s)) << serve->Output();
  ASSERT_EQ(::kill(serve->Pid(), SIGTERM), 0);
  EXPECT_EQ(serve->WaitExit(10s), 0);
  EXPECT_EQ(sim.SpoolFiles().size(), 3u);
}

TEST_F(ServeJobTest, AKillDuringAnUploadLosesNoPageAndRepeatsAtMostTheOneInFlight) {
  // Slow enough that the kill lands inside the second page's upload.
  sim.Write("faults", "transfer-rate 200000\n");
  const auto source = DropThreePages();
  auto first = Serve("first.out");
  ASSERT_TRUE(
      test::WaitUntil([&] { return first->Output().find("ページ2/3)[転送]") != std::string::npos; }, 30s))
      << first->Output();
  ASSERT_TRUE(test::WaitUntil([&] { return UploadInProgress(); }, 10s));
  ASSERT_EQ(::kill(first->Pid(), SIGKILL), 0);
  first->WaitExit(5s);
  EXPECT_TRUE(std::filesystem::exists(source));

  sim.Write("faults", "");
  auto second = Serve("second.out");
  ASSERT_TRUE(test::WaitUntil([&] { return !std::filesystem::exists(source); }, 60s)) << second->Output();
  ASSERT_EQ(::kill(second->Pid(), SIGTERM), 0);
  EXPECT_EQ(second->WaitExit(10s), 0);
  EXPECT_NE(second->Output().find("出力済(部数1/1 ページ2/3)"), std::string::npos) << second->Output();
  EXPECT_EQ(second->Output().find("ページ1/3)"), std::string::npos) << "page 1 was printed again";

  const auto printed = PrintedJobs();
  EXPECT_EQ(printed.size(), 3u) << "every page printed";
  int repeats = 0;
  std::size_t whole = 0;
  for (const auto& [bytes, count] : printed) {
    repeats += count - 1;
    whole += static_cast<std::size_t>(count);
  }
  EXPECT_LE(repeats, 1);
  // The killed upload's data connection was reset, so the printer kept no part of it.
  EXPECT_EQ(sim.SpoolFiles().size(), whole) << sim.Log();
  // No work folder of the killed run is left once the next one has started.
  std::set<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(home / "TEMP")) {
    if (entry.path().filename().string().starts_with("job-")) left.insert(entry.path().filename());
  }
  EXPECT_TRUE(left.empty());
}

}  // namespace
}  // namespace orvella
