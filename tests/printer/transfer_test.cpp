#include "printer/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "printfile/raster_job.h"
#include "settings/program_folders.h"
#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/timing.h"

namespace orvella::printer {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kReady[] = "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n";
constexpr char kPrefix[] = "部数1/1";

// SendPrintFile against the simulated printer, in a program folder of its own,
// with the waits of the procedure shortened.
class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::CreateApplicationFolders(home.Path());
    context.folders = {home.Path(), home / "TEMP", {}};
    sim.Write("stat", kReady);
    printer.name = "plotter";
    printer.ipAddr = {127, 0, 0, 1};
    context.printerIndex = 1;
    context.hidden.printerFtpPort = sim.FtpPort();
    context.hidden.printerSnmpPort = sim.SnmpPort();
    context.hidden.checkRetry = 0;
    context.hidden.sendTimeout = 10;
    context.timings.snmpTimeoutMs = 300;
    context.timings.statTimeoutMs = 3000;
    context.timings.memoryPollMs = 100;
    context.showStatus = [this](const std::string& text) {
      std::lock_guard lock(mutex);
      texts.push_back(text);
    };
    context.stopRequested = [this] { return stop.load(); };
    memory.Rebuild(2, 10240, 100);
  }

  // A print file of size bytes.
  std::filesystem::path PrintFile(std::size_t size) const {
    const auto path = home / "TEMP/sendfile.prn";
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + 7);
    test::WriteFileBytes(path, bytes);
    return path;
  }

  bool Send(const std::filesystem::path& file) {
    return SendPrintFile(file, printer, kPrefix, outcome, context);
  }

  std::vector<std::string> Texts() {
    std::lock_guard lock(mutex);
    return texts;
  }
  std::int64_t Free() const { return memory.Entry(1)->free; }

  test::TempDir home;
  test::SimulatedPrinter sim;
  settings::PrinterSetting printer;
  PrinterMemoryTable memory;
  TransferContext context{memory};
  base::Failure outcome{"前の値", ""};
  std::string& message = outcome.message;
  std::mutex mutex;
  std::vector<std::string> texts;
  std::atomic<bool> stop{false};
};

TEST_F(TransferTest, SendsTheFileAfterBothChecksShowingEachStep) {
  const auto file = PrintFile(300 * 1024 + 5);
  ASSERT_TRUE(Send(file)) << message;
  EXPECT_EQ(message, "正常");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"部数1/1[プリンタメモリ 9939kbyte]", "部数1/1[接続確認中]",
                                               "部数1/1[転送]"}));
  const auto spooled = sim.SpoolFiles();
  ASSERT_EQ(spooled.size(), 1u);
  EXPECT_EQ(test::ReadFileBytes(spooled[0]), test::ReadFileBytes(file));
  EXPECT_EQ(sim.CountInLog("STOR quenbyjob"), 1);
  // Passive mode is PASV, as printers expect, for the fetch and the upload alike.
  EXPECT_EQ(sim.CountInLog("] PASV"), 2);
  EXPECT_EQ(sim.CountInLog("] EPSV"), 0);
  EXPECT_EQ(Free(), 10240 * 1024 - (300 * 1024 + 5));
}

TEST_F(TransferTest, AFileOfTheWholeMemoryFitsOneByteMoreFailsWithoutTraffic) {
  EXPECT_FALSE(Send(PrintFile(10240 * 1024 + 1)));
  EXPECT_EQ(message, "ファイル転送サイズエラー[10240kbyte]");
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(sim.CountInLog("[snmp"), 0);
  EXPECT_EQ(sim.CountInLog("] connected"), 0);
  EXPECT_EQ(Free(), 10240 * 1024);

  EXPECT_TRUE(Send(PrintFile(10240 * 1024))) << message;
  EXPECT_EQ(Free(), 0);
}

TEST_F(TransferTest, WaitsForMemoryShowingTheRisingFreeValue) {
  memory.Reserve(1, 10240 * 1024);
  std::atomic<bool> ticking{true};
  std::thread timer([&] {
    while (ticking) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      memory.Replenish();
    }
  });
  const bool sent = Send(PrintFile(500 * 1024));
  ticking = false;
  timer.join();
  ASSERT_TRUE(sent) << message;

  std::vector<int> freeShown;
  for (const auto& text : Texts()) {
    int freeKb = 0, sizeKb = 0;
    if (std::sscanf(text.c_str(), "部数1/1[プリンタメモリ回復待機中 %d/%d]", &freeKb, &sizeKb) == 2) {
      EXPECT_EQ(sizeKb, 500);
      freeShown.push_back(freeKb);
    }
  }
  ASSERT_GE(freeShown.size(), 3u);
  EXPECT_LE(freeShown.size(), 8u);
  EXPECT_EQ(freeShown.front(), 0);
  EXPECT_TRUE(std::is_sorted(freeShown.begin(), freeShown.end()));
  EXPECT_LT(freeShown.front(), freeShown.back());
  EXPECT_LT(freeShown.back(), 500);
}

TEST_F(TransferTest, AStopRequestEndsTheMemoryWait) {
  memory.Reserve(1, 10240 * 1024);
  context.showStatus = [this](const std::string&) { stop = true; };
  context.timings.memoryPollMs = 10000;  // a stop noticed only after a poll would take this long
  const auto start = Clock::now();
  EXPECT_FALSE(Send(PrintFile(1024)));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(context.timings.memoryPollMs / 2));
  EXPECT_EQ(message, "正常");  // the caller reports a stop, not this
  EXPECT_EQ(sim.CountInLog("[snmp"), 0);
  EXPECT_EQ(Free(), 0);
}

TEST_F(TransferTest, SnmpFailuresAreRetriedCheckRetryTimesWithoutPause) {
  sim.Write("faults", "snmp-silent");
  context.hidden.checkRetry = 2;
  const auto start = Clock::now();
  EXPECT_FALSE(Send(PrintFile(1000)));
  // Three time-outs of 300 ms; two pauses of half a second between them would exceed this.
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3 * 300 + 2 * test::kLateWakeMs));
  EXPECT_EQ(message, "プリンタに接続できません");
  EXPECT_EQ(sim.CountInLog("fault snmp-silent"), 3);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"部数1/1[プリンタメモリ 10239kbyte]", "部数1/1[接続確認中]",
                                               "部数1/1[接続確認リトライ(SNMP) 1/2]",
                                               "部数1/1[接続確認リトライ(SNMP) 2/2]"}));
  EXPECT_EQ(sim.CountInLog("] connected"), 0);
  EXPECT_EQ(Free(), 10240 * 1024 - 1000);  // the reservation stands
}

TEST_F(TransferTest, SnmpErrorStateAndWrongAnswerMessages) {
  const struct {
    const char* file;
    const char* content;
    const char* expected;
  } cases[] = {
      {"snmp-state", "04", "プリンタが異常状態である可能性があります"},
      {"faults", "snmp-two-bytes", "プリンタ状態を取得できません"},
  };
  for (const auto& c : cases) {
    sim.Write(c.file, c.content);
    EXPECT_FALSE(Send(PrintFile(10)));
    EXPECT_EQ(message, c.expected);
  }
  EXPECT_EQ(sim.CountInLog("] connected"), 0);
}

TEST_F(TransferTest, StatusFileFailuresAreRetriedAJudgedStateIsFinal) {
  // No stat file: every fetch fails and is retried.
  std::filesystem::remove(sim.Dir() / "stat");
  context.hidden.checkRetry = 1;
  EXPECT_FALSE(Send(PrintFile(10)));
  EXPECT_EQ(message, "プリンタ状態ファイル取得エラー");
  EXPECT_EQ(sim.CountInLog("] connected"), 2);  // one connection per fetch
  EXPECT_EQ(Texts().back(), "部数1/1[接続確認リトライ(stat) 1/1]");

  // One line only: unusable, retried likewise.
  sim.Write("stat", "Plotter (Ready.)\r\n");
  EXPECT_FALSE(Send(PrintFile(10)));
  EXPECT_EQ(message, "プリンタ状態ファイル解析エラー");
  EXPECT_EQ(sim.CountInLog("] connected"), 4);
  EXPECT_EQ(sim.CountInLog("STOR"), 0);
}

TEST_F(TransferTest, JudgedStatesGiveTheirMessagesWithoutRetry) {
  const struct {
    const char* stat;
    bool hiddenSwitch;
    bool preference;
    const char* expected;
  } cases[] = {
      {"Plotter (Panel Off Mode.)\r\nOnline/Offline : Online.\r\n", false, true, "パネルがOFFになっています"},
      {"Plotter (Panel Off Mode.)\r\nOnline/Offline : Online.\r\n", true, false, "パネルがOFFになっています"},
      {"Plotter (Panel Off Mode.)\r\nOnline/Offline : Online.\r\n", true, true, "正常"},
      {"Plotter (Energy Save Mode.)\r\nOnline/Offline : Online.\r\n", false, true,
       "省エネモードを解除してください"},
      {"Plotter (Energy Saver Mode.)\r\nOnline/Offline : Online.\r\n", true, true, "正常"},
      {"Plotter (Paper Jam.)\r\nOnline/Offline : Online.\r\n", true, true, "プリンタエラー((Paper Jam.))"},
      {"Plotter (Ready.)\r\nOnline/Offline : Offline.\r\n", true, true, "プリンタONLINEの確認エラー"},
  };
  context.hidden.checkRetry = 3;
  int fetches = 0;
  for (const auto& c : cases) {
    sim.Write("stat", c.stat);
    context.hidden.enablePanelOffAndEnergySaveSetting = c.hiddenSwitch;
    context.preferences = {.enablePanelOff = c.preference, .enableEnergySave = c.preference};
    const int stored = sim.CountInLog("stored spool/");
    EXPECT_EQ(Send(PrintFile(10)), std::string(c.expected) == "正常") << c.stat;
    EXPECT_EQ(message, c.expected) << c.stat;
    EXPECT_EQ(sim.CountInLog("RETR stat"), ++fetches) << c.stat;
    EXPECT_EQ(sim.CountInLog("stored spool/"), stored + (std::string(c.expected) == "正常" ? 1 : 0));
  }
}

TEST_F(TransferTest, ARefusedUploadKeepsTheReservation) {
  sim.Write("faults", "upload-fail");
  EXPECT_FALSE(Send(PrintFile(2048)));
  EXPECT_EQ(message, "ファイル転送エラー");
  EXPECT_EQ(Free(), 10240 * 1024 - 2048);
  EXPECT_TRUE(sim.SpoolFiles().empty());
}

// The operator's message stays as it is; the detail keeps the real cause, in
// the library's own words where it gave any.
TEST_F(TransferTest, FailuresKeepTheirCauseBesideTheMessage) {
  const std::string ftp = "127.0.0.1:" + std::to_string(sim.FtpPort());
  const struct {
    const char* faults;
    const char* message;
    std::string detail;
  } cases[] = {
      {"login-deny", "プリンタ状態ファイル取得エラー",
       "downloading stat on " + ftp + ": Login denied (Access denied: 530)"},
      {"snmp-silent", "プリンタに接続できません",
       "no answer from 127.0.0.1:" + std::to_string(sim.SnmpPort()) + " within 300 ms"},
      {"upload-fail", "ファイル転送エラー",
       "uploading to quenbyjob on " + ftp +
           ": Upload failed (at start/before it took off) (Failed FTP upload: 550)"},
  };
  for (const auto& c : cases) {
    sim.Write("faults", c.faults);
    EXPECT_FALSE(Send(PrintFile(10))) << c.faults;
    EXPECT_EQ(message, c.message) << c.faults;
    EXPECT_EQ(outcome.detail, c.detail) << c.faults;
  }
}

// A printer that takes the job but never answers the goodbye of a session
// still gets the job once, and the unit goes on after a short grace per
// session (the status fetch and the upload), far inside the upload time-out.
TEST_F(TransferTest, APrinterThatNeverAnswersQuitStillTakesTheJobInTime) {
  sim.Write("faults", "quit-hang\n");
  context.hidden.sendTimeout = 60;
  const auto start = Clock::now();
  ASSERT_TRUE(Send(PrintFile(4096))) << message << ": " << outcome.detail;
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(message, "正常");
  EXPECT_LT(elapsed, 2 * kGoodbyeGraceMs + test::kLateWakeMs);
  EXPECT_EQ(sim.SpoolFiles().size(), 1u);
}

TEST_F(TransferTest, APrinterOutsideTheMemoryTableFailsWithoutTraffic) {
  context.printerIndex = 2;
  EXPECT_FALSE(Send(PrintFile(10)));
  EXPECT_EQ(message, "ファイル転送エラー");
  EXPECT_EQ(outcome.detail, "printer 2 (plotter) has no entry in the printer memory table of 2 printers");
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(sim.CountInLog("[snmp"), 0);
  EXPECT_EQ(sim.CountInLog("] connected"), 0);
}

// A print file from the raster job writer reaches the printer whole: the
// printer takes the spooled job apart into the header and pages it was sent.
TEST_F(TransferTest, ARealPrintFileArrivesAsWritten) {
  printfile::RasterJobOptions options;
  options.trayName = "R1";
  options.resolution = 600;
  options.foldType = 16;
  options.foldMargin = 20;
  const auto file = home / "TEMP/sendfile.prn";
  ASSERT_TRUE(printfile::WriteRasterJob(
      std::filesystem::path(ORVELLA_TEST_DATA) / "printfile/two_pages_g4.tif", file, options));
  ASSERT_TRUE(Send(file)) << message;
  ASSERT_EQ(sim.SpoolFiles().size(), 1u);

  const auto inspect = [](const std::filesystem::path& job) {
    auto result = test::RunProcess(test::BinaryPath("orvella-printer-sim"), {"inspect", job.string()}, 30);
    EXPECT_EQ(result.exitCode, 0) << result.err;          // every byte placed
    return result.out.substr(result.out.find('\n') + 1);  // after the line naming the file
  };
  const std::string received = inspect(sim.SpoolFiles()[0]);
  EXPECT_EQ(received, inspect(file));
  EXPECT_NE(received.find("@PJL SET FOLD = ZIGZAG"), std::string::npos) << received;
  EXPECT_NE(received.find("tray=R1"), std::string::npos) << received;
  EXPECT_NE(received.find("TIFF, 2 pages"), std::string::npos) << received;
}

}  // namespace
}  // namespace orvella::printer
