#include "printer/ftp_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/timing.h"

namespace orvella::printer {
namespace {

using Clock = std::chrono::steady_clock;
using Call = std::pair<int, std::int64_t>;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
  return bytes;
}

// curl keeps time in whole milliseconds and may stop a millisecond or two
// before the deadline; what matters is that it never runs past it.
constexpr long kClockSlack = 5;

long ElapsedMs(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Records every progress call; answers kind 1 with kindOneAnswer.
class Recorder {
 public:
  explicit Recorder(int kindOneAnswer = 1) : answer_(kindOneAnswer) {}
  FtpProgressCallback Callback() {
    return [this](int kind, std::int64_t value) {
      std::lock_guard lock(mutex_);
      calls_.emplace_back(kind, value);
      return kind == 1 ? answer_ : 1;
    };
  }
  std::vector<Call> Calls(int kind) const {
    std::lock_guard lock(mutex_);
    std::vector<Call> out;
    for (const auto& c : calls_)
      if (c.first == kind) out.push_back(c);
    return out;
  }
  std::vector<Call> All() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  int answer_;
  mutable std::mutex mutex_;
  std::vector<Call> calls_;
};

class FtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client.SetHost("127.0.0.1");
    client.port = sim.FtpPort();
    client.SetUserName("anonymous");
    client.SetPassword("anonymous");
    client.passive = 1;
    client.timeout = 5000;
    client.retryWait = 50;
    client.progress = recorder.Callback();
  }

  int Connections() const { return sim.CountInLog("] connected"); }

  test::SimulatedPrinter sim;
  test::TempDir local;
  Recorder recorder;
  FtpClient client;
};

TEST_F(FtpClientTest, GetReplacesAnExistingLocalFileOverOneSession) {
  sim.Write("stat", "P (Ready.)\r\nOnline/Offline : Online.\r\n");
  test::WriteFileBytes(local / "temp.stat", std::string(5000, 'x'));
  client.SetRemoteFile("stat");
  client.SetLocalFile((local / "temp.stat").string());

  ASSERT_TRUE(client.GetFile());
  EXPECT_EQ(client.State(), FtpState::Done);
  EXPECT_EQ(test::ReadFileBytes(local / "temp.stat"), "P (Ready.)\r\nOnline/Offline : Online.\r\n");
  EXPECT_EQ(recorder.All(), (std::vector<Call>{{0, 0}}));
  EXPECT_EQ(Connections(), 1);  // login and transfer share the session
  EXPECT_FALSE(std::filesystem::exists(local / "temp.stat.part"));
  EXPECT_EQ(sim.CountInLog("] PASV"), 1);  // passive is PASV, as printers expect
  EXPECT_EQ(sim.CountInLog("] EPSV"), 0);
}

TEST_F(FtpClientTest, PutStoresTheWholeFileWithGrowingProgressThenOneDone) {
  const std::string job = Pattern(1 << 20);
  test::WriteFileBytes(local / "sendfile.prn", job);
  client.SetRemoteFile("quenbyjob");
  client.SetLocalFile((local / "sendfile.prn").string());

  ASSERT_TRUE(client.PutFile());
  EXPECT_EQ(client.State(), FtpState::Done);
  EXPECT_EQ(client.BytesSent(), static_cast<std::int64_t>(job.size()));
  const auto spool = sim.SpoolFiles();
  ASSERT_EQ(spool.size(), 1u);
  EXPECT_EQ(spool[0].filename(), "000001.prn");
  EXPECT_EQ(test::ReadFileBytes(spool[0]), job);

  const auto calls = recorder.All();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.back(), Call(0, 0));
  std::int64_t previous = 0;
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    EXPECT_EQ(calls[i].first, 2);
    EXPECT_GT(calls[i].second, previous);
    previous = calls[i].second;
  }
  EXPECT_EQ(previous, static_cast<std::int64_t>(job.size()));
}

// A failed transfer is never retried, however many attempts are allowed,
// and a failed get leaves the local file as it was.
TEST_F(FtpClientTest, FailedTransfersAreNotRetried) {
  struct Case {
    const char* faults;
    bool put;
    FtpState state;
  };
  for (const Case c : {Case{"", false, FtpState::GetFailed},  // no stat file: 550
                       Case{"upload-fail\n", true, FtpState::PutFailed},
                       Case{"upload-drop-after 1000\n", true, FtpState::PutFailed}}) {
    SCOPED_TRACE(c.faults);
    test::SimulatedPrinter printer;
    printer.Write("faults", c.faults);
    test::WriteFileBytes(local / "file", Pattern(300000));
    Recorder calls;
    client.port = printer.FtpPort();
    client.maxAttempts = 5;
    client.progress = calls.Callback();
    client.SetRemoteFile(c.put ? "quenbyjob" : "stat");
    client.SetLocalFile((local / "file").string());

    EXPECT_FALSE(c.put ? client.PutFile() : client.GetFile());
    EXPECT_EQ(client.State(), c.state);
    EXPECT_TRUE(calls.Calls(1).empty());
    EXPECT_TRUE(calls.Calls(0).empty());
    EXPECT_EQ(printer.CountInLog("] connected"), 1);
    EXPECT_TRUE(printer.SpoolFiles().empty());
    EXPECT_EQ(test::ReadFileBytes(local / "file"), Pattern(300000));
  }
}

TEST_F(FtpClientTest, RefusedConnectionIsRetriedUpToMaxAttemptsWithPauses) {
  client.port = test::UnusedLoopbackPort();
  client.maxAttempts = 3;
  client.retryWait = 1000;
  client.SetRemoteFile("stat");
  client.SetLocalFile((local / "temp.stat").string());

  const auto start = Clock::now();
  EXPECT_FALSE(client.GetFile());
  const long elapsed = ElapsedMs(start);
  EXPECT_EQ(client.State(), FtpState::ConnectFailed);
  EXPECT_EQ(recorder.All(), (std::vector<Call>{{1, 1}, {1, 2}}));
  EXPECT_GE(elapsed, 2000);
  EXPECT_LT(elapsed, 3000);
}

TEST_F(FtpClientTest, MaxAttemptsZeroOrOneMakesExactlyOneAttempt) {
  sim.Write("faults", "login-deny\n");
  client.SetRemoteFile("stat");
  client.SetLocalFile((local / "temp.stat").string());
  for (int attempts : {0, 1}) {
    client.maxAttempts = attempts;
    EXPECT_FALSE(client.GetFile());
    EXPECT_EQ(client.State(), FtpState::ConnectFailed);
  }
  EXPECT_EQ(sim.CountInLog("PASS ***"), 2);
  EXPECT_TRUE(recorder.All().empty());
}

TEST_F(FtpClientTest, DeniedLoginIsRetriedAndAnswerZeroStopsAtOnce) {
  sim.Write("faults", "login-deny\n");
  client.SetRemoteFile("stat");
  client.SetLocalFile((local / "temp.stat").string());
  client.maxAttempts = 3;
  EXPECT_FALSE(client.GetFile());
  EXPECT_EQ(sim.CountInLog("PASS ***"), 3);
  EXPECT_EQ(recorder.Calls(1), (std::vector<Call>{{1, 1}, {1, 2}}));

  Recorder giveUp(0);
  client.progress = giveUp.Callback();
  client.maxAttempts = 10;
  EXPECT_FALSE(client.GetFile());
  EXPECT_EQ(sim.CountInLog("PASS ***"), 4);
  EXPECT_EQ(giveUp.All(), (std::vector<Call>{{1, 1}}));
}

TEST_F(FtpClientTest, LogsInWithThePrintersCredentials) {
  sim.Write("credentials", "plotter:s3cret\n");
  sim.Write("info", "info\n");
  client.SetRemoteFile("info");
  client.SetLocalFile((local / "temp.info").string());
  EXPECT_FALSE(client.GetFile());
  EXPECT_EQ(client.State(), FtpState::ConnectFailed);

  client.SetUserName("plotter");
  client.SetPassword("s3cret");
  EXPECT_TRUE(client.GetFile());
  EXPECT_EQ(test::ReadFileBytes(local / "temp.info"), "info\n");
}

TEST_F(FtpClientTest, SilentServerFailsAtTheTimeoutNotLater) {
  sim.Write("faults", "ftp-hang\n");
  client.SetRemoteFile("stat");
  client.SetLocalFile((local / "temp.stat").string());
  client.timeout = 1000;
  const auto start = Clock::now();
  EXPECT_FALSE(client.GetFile());
  const long elapsed = ElapsedMs(start);
  EXPECT_EQ(client.State(), FtpState::ConnectFailed);
  EXPECT_GE(elapsed, 1000 - kClockSlack);
  // Left to the progress callback (about once a second while idle) it would end up to a second late.
  EXPECT_LT(elapsed, 1000 + test::kLateWakeMs);
}

// The time-out the status and information fetches use.
TEST_F(FtpClientTest, SilentServerFailsAfterTenSeconds) {
  sim.Write("faults", "ftp-hang\n");
  client.SetRemoteFile("stat");
  client.SetLocalFile((local / "temp.stat").string());
  client.timeout = 10000;
  const auto start = Clock::now();
  EXPECT_FALSE(client.GetFile());
  const long elapsed = ElapsedMs(start);
  EXPECT_GE(elapsed, 10000 - kClockSlack);
  EXPECT_LT(elapsed, 10000 + test::kLateWakeMs);
}

// The time-out covers the whole attempt: data still flowing does not extend it,
// and a transfer cut short is not retried. The upload is larger than the socket
// buffers on both sides can hold, so it is still running at the time-out; the
// printer must not keep what it got.
TEST_F(FtpClientTest, SlowTransferIsCutAtTheTimeout) {
  sim.Write("faults", "transfer-rate 50000\n");
  sim.Write("info", Pattern(500000));
  test::WriteFileBytes(local / "file", "previous");
  for (bool put : {true, false}) {
    SCOPED_TRACE(put ? "put" : "get");
    Recorder calls;
    client.progress = calls.Callback();
    client.maxAttempts = 5;
    client.timeout = 1000;
    client.SetRemoteFile(put ? "quenbyjob" : "info");
    client.SetLocalFile((local / (put ? "upload" : "file")).string());
    test::WriteFileBytes(local / "upload", Pattern(16 << 20));

    const auto start = Clock::now();
    EXPECT_FALSE(put ? client.PutFile() : client.GetFile());
    const long elapsed = ElapsedMs(start);
    EXPECT_EQ(client.State(), put ? FtpState::PutFailed : FtpState::GetFailed);
    EXPECT_GE(elapsed, 1000 - kClockSlack);
    EXPECT_LT(elapsed, 1000 + test::kLateWakeMs);
    EXPECT_TRUE(calls.Calls(0).empty());
    EXPECT_TRUE(calls.Calls(1).empty());
  }
  EXPECT_EQ(sim.CountInLog("] connected"), 2);
  // The printer sees a reset, not an end of file, and discards the upload.
  for (int i = 0; i < 100 && sim.CountInLog("discarded") == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(sim.CountInLog("discarded"), 1) << sim.Log();
  EXPECT_TRUE(sim.SpoolFiles().empty());
  EXPECT_EQ(sim.CountInLog("stored spool/"), 0);
  EXPECT_EQ(test::ReadFileBytes(local / "file"), "previous");
}

// Once the printer has confirmed the transfer, a goodbye it never answers
// costs the caller a short grace, not the time-out: the transfer counts as done.
TEST_F(FtpClientTest, AnUnansweredQuitAfterATransferDoesNotHoldTheCaller) {
  sim.Write("faults", "quit-hang\n");
  sim.Write("stat", "P (Ready.)\r\nOnline/Offline : Online.\r\n");
  test::WriteFileBytes(local / "sendfile.prn", Pattern(300000));
  client.timeout = 20000;
  for (bool put : {true, false}) {
    SCOPED_TRACE(put ? "put" : "get");
    Recorder calls;
    client.progress = calls.Callback();
    client.SetRemoteFile(put ? "quenbyjob" : "stat");
    client.SetLocalFile((local / (put ? "sendfile.prn" : "temp.stat")).string());
    const auto start = Clock::now();
    EXPECT_TRUE(put ? client.PutFile() : client.GetFile()) << client.Detail();
    EXPECT_LT(ElapsedMs(start), kGoodbyeGraceMs + test::kLateWakeMs);
    EXPECT_EQ(client.State(), FtpState::Done);
    EXPECT_EQ(calls.Calls(0).size(), 1u);
  }
  ASSERT_EQ(sim.SpoolFiles().size(), 1u);
  EXPECT_EQ(test::ReadFileBytes(sim.SpoolFiles()[0]), Pattern(300000));
  EXPECT_EQ(sim.CountInLog("not answering (fault quit-hang)"), 2);
}

// Without the printer's confirmation the upload is not known to be whole, so
// it fails at the time-out, even though this printer kept the file.
TEST_F(FtpClientTest, AnUploadNeverConfirmedFailsAtTheTimeout) {
  sim.Write("faults", "upload-no-reply\n");
  test::WriteFileBytes(local / "sendfile.prn", Pattern(300000));
  client.timeout = 1000;
  client.SetRemoteFile("quenbyjob");
  client.SetLocalFile((local / "sendfile.prn").string());
  const auto start = Clock::now();
  EXPECT_FALSE(client.PutFile());
  const long elapsed = ElapsedMs(start);
  EXPECT_EQ(client.State(), FtpState::PutFailed);
  EXPECT_GE(elapsed, 1000 - kClockSlack);
  EXPECT_LT(elapsed, 1000 + test::kLateWakeMs);
  EXPECT_TRUE(recorder.Calls(0).empty());
  EXPECT_EQ(sim.SpoolFiles().size(), 1u);
}

// Against an independent FTP server, so client and simulator are not only
// tested against each other.
TEST(FtpClientAgainstPyftpdlib, PutThenGetRoundTrip) {
  test::TempDir temp;
  std::filesystem::create_directory(temp / "root");
  const char* script =
      "import signal, sys\n"
      "from pyftpdlib.authorizers import DummyAuthorizer\n"
      "from pyftpdlib.handlers import FTPHandler\n"
      "from pyftpdlib.servers import FTPServer\n"
      "signal.alarm(120)\n"
      "authorizer = DummyAuthorizer()\n"
      "authorizer.add_user('plotter', 's3cret', sys.argv[1], perm='elradfmw')\n"
      "FTPHandler.authorizer = authorizer\n"
      "server = FTPServer(('127.0.0.1', 0), FTPHandler)\n"
      "print('listening', server.address[1], flush=True)\n"
      "server.serve_forever()\n";
  test::BackgroundProcess server("/usr/bin/python3", {"-c", script, (temp / "root").string()},
                                 temp / "server.log");
  const std::string line = server.WaitForLine("listening ", std::chrono::seconds(10));
  ASSERT_FALSE(line.empty()) << server.Output();

  const std::string job = Pattern(700000);
  test::WriteFileBytes(temp / "sendfile.prn", job);
  FtpClient client;
  client.SetHost("127.0.0.1");
  client.port = std::stoi(line.substr(10));
  client.SetUserName("plotter");
  client.SetPassword("s3cret");
  client.passive = 1;
  client.timeout = 10000;
  client.SetLocalFile((temp / "sendfile.prn").string());
  client.SetRemoteFile("quenbyjob");
  ASSERT_TRUE(client.PutFile()) << server.Output();
  EXPECT_EQ(test::ReadFileBytes(temp / "root" / "quenbyjob"), job);

  client.SetLocalFile((temp / "back").string());
  ASSERT_TRUE(client.GetFile()) << server.Output();
  EXPECT_EQ(test::ReadFileBytes(temp / "back"), job);
}

}  // namespace
}  // namespace orvella::printer
