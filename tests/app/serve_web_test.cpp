// orvella serve --http driven through its JSON API while it prints to the
// simulated printer: what it serves, what it refuses, start and stop with
// the token, and a crowd of event streams that must not hold up a job.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>

#include "app/serve_web_fixture.h"
#include "settings/input_settings.h"
#include "support/process.h"

namespace orvella::test {
namespace {

using namespace std::chrono_literals;

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%Y%m%d", &local);
  return date;
}

using ServeWebTest = ServeWebFixture;

// Every reply but the page's own files: nothing sniffed, nothing run.
void ExpectLockedDown(const HttpReply& reply) {
  const std::string lines = reply.headers + "\r\n";
  EXPECT_NE(lines.find("\r\nX-Content-Type-Options: nosniff\r\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("\r\nContent-Security-Policy: default-src 'none'; sandbox\r\n"), std::string::npos)
      << lines;
}

// The most memory the process has held, from /proc.
long PeakKib(pid_t pid) {
  const std::string status = ReadFileBytes("/proc/" + std::to_string(pid) + "/status");
  const auto at = status.find("VmHWM:");
  return at == std::string::npos ? -1 : std::atol(status.c_str() + at + 6);
}

// The i-th address of the loopback block 127.net.0.0/16.
std::string Loopback(int net, int i) {
  return "127." + std::to_string(net) + "." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
}

// Raises this process's soft limit on open files for a thousand sockets;
// false when the hard limit does not allow it.
bool RoomForAThousandSockets() {
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_max < 4096) return false;
  files.rlim_cur = files.rlim_max;
  return ::setrlimit(RLIMIT_NOFILE, &files) == 0;
}

struct Flooded {
  std::string reply;     // what came back
  std::size_t sent = 0;  // bytes sent after the head
  std::chrono::milliseconds took{};
};

// Sends head, then piece over and over while reading what comes back, until
// a reply's head has come, total bytes are sent and nothing more came for a
// second, or 30 s have passed.
Flooded Flood(int port, const std::string& head, const std::string& piece, std::size_t total) {
  Flooded flood;
  const auto start = std::chrono::steady_clock::now();
  const int fd = OpenHttp(port, head);
  if (fd < 0) return flood;
  bool sending = true;
  while (std::chrono::steady_clock::now() - start < 30s &&
         flood.reply.find("\r\n\r\n") == std::string::npos) {
    pollfd watch{fd, static_cast<short>(POLLIN | (sending ? POLLOUT : 0)), 0};
    if (::poll(&watch, 1, 1000) <= 0) {
      if (sending) continue;
      break;
    }
    if (watch.revents & POLLIN) {
      char buffer[4096];
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      flood.reply.append(buffer, static_cast<std::size_t>(n));
    } else if (watch.revents & POLLOUT) {
      const ssize_t n = ::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n > 0) flood.sent += static_cast<std::size_t>(n);
      sending = (n >= 0 || errno == EAGAIN) && flood.sent < total;
    } else {
      break;
    }
  }
  flood.took =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  ::close(fd);
  return flood;
}

TEST_F(ServeWebTest, ServesTheRowsLogsErrorsAndPrintersOfARun) {
  WriteFileBytes(hot / "notes.txt", "not a drawing");
  WriteThreePages(hot / "three.tif");
  StartServe();
  ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(hot / "three.tif"); }, 60s)) << serve->Output();

  const Json state = GetJson("/api/state");
  EXPECT_EQ(state["text"], "稼動中");
  EXPECT_EQ(state["icon"], "/static/icons/state_running.png");
  EXPECT_EQ(state["network"], false);

  const Json rows = GetJson("/api/jobs")["rows"];
  ASSERT_GE(rows.size(), 2u) << rows;
  EXPECT_EQ(rows[0]["file"], "three.tif");
  EXPECT_EQ(rows[0]["folder"], hot.string());
  EXPECT_EQ(rows[0]["status"], "出力済(部数1/1 ページ3/3)");
  EXPECT_EQ(rows[0]["mark"], 0);
  EXPECT_EQ(rows.back()["file"], "notes.txt");
  EXPECT_EQ(rows.back()["status"], "未対応ファイル");
  EXPECT_EQ(rows.back()["mark_name"], "failed");

  const Json days = GetJson("/api/logs")["days"];
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days[0]["date"], Today());
  const Json log = GetJson("/api/logs/" + Today());
  EXPECT_EQ(log["header"][9], "メッセージ");
  EXPECT_EQ(log["lines"][0][9], "起動");
  EXPECT_EQ(log["lines"].back()[9], "OK");
  const HttpReply csv = SendHttp(port, "GET", "/api/logs/" + Today() + ".csv");
  EXPECT_EQ(csv.status, 200);
  EXPECT_EQ(csv.body, ReadFileBytes(home / "LOG" / (Today() + ".csv")));
  EXPECT_NE(csv.headers.find("Content-Disposition: attachment"), std::string::npos);
  ExpectLockedDown(csv);

  const Json errors = GetJson("/api/errors")["records"];
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0]["file"], "notes.txt");
  EXPECT_EQ(errors[0]["message"], "未対応ファイル");
  // The listing is open; the drawing comes only with the token.
  const HttpReply kept = SendHttp(port, "GET", errors[0]["download"], {"X-Orvella-Token: " + token});
  EXPECT_EQ(kept.body, "not a drawing");
  ExpectLockedDown(kept);
  const HttpReply withheld = SendHttp(port, "GET", errors[0]["download"]);
  EXPECT_EQ(withheld.status, 403);
  EXPECT_EQ(withheld.body.find("not a drawing"), std::string::npos);

  const Json printers = GetJson("/api/printers")["printers"];
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0]["name"], "plotter");
  EXPECT_EQ(printers[0]["last_check"], nullptr);
  const HttpReply check = Post("/api/printers/check", token, R"({"name": "plotter"})");
  ASSERT_EQ(check.status, 200) << check.body;
  EXPECT_EQ(Json::parse(check.body)["fit"], true) << check.body;
  EXPECT_EQ(GetJson("/api/printers")["printers"][0]["last_check"]["fit"], true);

  const HttpReply page = SendHttp(port, "GET", "/");
  EXPECT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("稼動状況"), std::string::npos);
  EXPECT_NE(page.headers.find("Content-Security-Policy: default-src 'self'"), std::string::npos);
  EXPECT_EQ(page.headers.find("default-src 'none'"), std::string::npos) << "one policy, the page's own";
  EXPECT_NE(page.headers.find("X-Content-Type-Options: nosniff"), std::string::npos);
  EXPECT_EQ(SendHttp(port, "GET", "/static/icons/mark_done.png").status, 200);
  for (const char* path : {"/api/state", "/api/jobs", "/api/logs", "/api/errors", "/api/printers"})
    ExpectLockedDown(SendHttp(port, "GET", path));
}

TEST_F(ServeWebTest, RefusesWhatItMustNotServeOrDo) {
  StartServe();
  struct stat st {};
  ASSERT_EQ(::stat((home / "TEMP/http-token").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(token.size(), 64u);

  struct Case {
    std::string method;
    std::string path;
    std::string tokenHeader;
    std::string body;
    int status;
  };
  const std::string token = "X-Orvella-Token: " + this->token;
  const Case cases[] = {
      {"GET", "/api/logs/../../INI/PRINTER.INI", "", "", 400},
      {"GET", "/api/logs/%2e%2e%2f%2e%2e%2fINI%2fPRINTER.INI", "", "", 400},
      {"GET", "/static/..%2f..%2fINI%2fHIDDEN.INI", "", "", 400},
      {"GET", "/api/errors/..%2f..%2fINI/file", "", "", 400},
      {"GET", "/api/errors/" + home.string() + "/INI/file", token, "", 404},
      {"GET", "/api/errors/20260101_000000_x.tif/file", token, "", 404},
      {"GET", "/api/errors/20260101_000000_x.tif/file", "", "", 403},
      {"GET", "/api/logs/2026121", "", "", 404},
      {"GET", "/api/logs/19990101", "", "", 404},
      {"GET", "/api/logs/19990101.txt", "", "", 404},
      {"GET", "/" + std::string(2000, 'a'), "", "", 414},
      {"GET", "/" + std::string(9000, 'a'), "", "", 414},
      {"PUT", "/api/state", "", "", 405},
      {"DELETE", "/api/jobs", "", "", 405},
      {"OPTIONS", "/", "", "", 405},
      {"PATCH", "/api/stop", token, "", 405},
      {"TRACE", "/", "", "", 405},
      {"BREW", "/", "", "", 400},
      {"GET", "/api/stop", "", "", 405},
      {"POST", "/api/jobs", token, "", 405},
      {"POST", "/api/stop", "", "", 403},
      {"POST", "/api/stop", "X-Orvella-Token: " + this->token.substr(1), "", 403},
      {"POST", "/api/stop", "X-Orvella-Token: ", "", 403},
      {"POST", "/api/start", "X-Orvella-Token: nonsense", "", 403},
      {"POST", "/api/start", token, "", 409},  // already running
      {"POST", "/api/printers/check", token, R"({"name": "nobody"})", 404},
      {"POST", "/api/printers/check", token, "not json", 400},
      {"POST", "/api/printers/check", "", R"({"name": "plotter"})", 403},
      {"POST", "/api/printers/check", "", std::string(20000, '{'), 413},
      {"GET", "/INI/PRINTER.INI", "", "", 404},
      {"GET", "/TEMP/http-token", "", "", 404},
      {"POST", "/api/printers/check", "Transfer-Encoding: chunked",
       "12\r\n{\"name\": \"plotter\"}\r\n0\r\n\r\n", 411},
      {"POST", "/api/stop", "Transfer-Encoding: chunked", "0\r\n\r\n", 411},
      {"POST", "/api/printers/check", "Content-Encoding: gzip", std::string(100, 'x'), 415},
      {"GET", "/api/state", "X-Long: " + std::string(9000, 'a'), "", 431},
  };
  for (const Case& c : cases) {
    std::vector<std::string> headers{"Content-Type: application/json"};
    if (!c.tokenHeader.empty()) headers.push_back(c.tokenHeader);
    const HttpReply reply = SendHttp(port, c.method, c.path, headers, c.body);
    EXPECT_EQ(reply.status, c.status) << c.method << " " << c.path.substr(0, 80) << ": " << reply.body;
    EXPECT_EQ(reply.body.find(this->token), std::string::npos);
    ExpectLockedDown(reply);
    // Every refusal says in English what was refused and why: an error, or
    // for a start or stop the state with the detail.
    const Json error = Json::parse(reply.body, nullptr, false);
    const Json why = error.is_object() ? error.value("error", error.value("detail", Json())) : Json();
    EXPECT_TRUE(why.is_string() && why.get<std::string>().size() > 20)
        << c.method << " " << c.path.substr(0, 80) << ": " << reply.body;
  }
  EXPECT_EQ(State(), 1) << "no refused request stopped the system";

  // A POST with the token and no body at all (no Content-Length) is taken.
  const int empty = OpenHttp(port, "POST /api/start HTTP/1.1\r\nHost: 127.0.0.1\r\n" + token + "\r\n\r\n");
  ASSERT_GE(empty, 0);
  const std::string answer = ReadSome(empty, 10s);
  ::close(empty);
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 409 ")) << answer;  // already running
  EXPECT_NE(answer.find("\"messages\""), std::string::npos) << answer;
}

// A body or a head beyond its bound is refused as soon as its head shows it,
// without a token, and the service holds none of it: a chunked body, a
// header line that never ends, a body of no declared length; and a head that
// never ends is cut off in time.
TEST_F(ServeWebTest, AnOversizedRequestIsRefusedAtOnceAndNotHeld) {
  StartServe();
  ASSERT_EQ(GetJson("/api/state").value("state", -1), 1);
  const long before = PeakKib(serve->Pid());
  ASSERT_GT(before, 0);

  constexpr std::size_t kFlood = 65 * 1024 * 1024;
  const std::string megabyte(1024 * 1024, '{');
  char size[16];
  std::snprintf(size, sizeof size, "%zx\r\n", megabyte.size());
  const std::string post =
      "POST /api/printers/check HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n";
  struct Case {
    const char* what;
    std::string head;
    std::string piece;
    int status;
  };
  const Case cases[] = {
      {"a chunked body", post + "Transfer-Encoding: chunked\r\n\r\n", size + megabyte + "\r\n", 411},
      {"an endless header line",
       "GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Endless: ", std::string(64 * 1024, 'a'), 431},
      // Without a length the body is empty: what follows is not read.
      {"a body without a length", post + "X-Orvella-Token: " + token + "\r\n\r\n", megabyte, 400},
  };
  for (const Case& c : cases) {
    const Flooded flood = Flood(port, c.head, c.piece, kFlood);
    EXPECT_TRUE(flood.reply.starts_with("HTTP/1.1 " + std::to_string(c.status) + " "))
        << c.what << ": " << flood.reply.substr(0, 300);
    EXPECT_LT(flood.took, 5s) << c.what;
    EXPECT_LT(flood.sent, kFlood) << c.what << ": the reply came only after the whole body was taken";
  }
  const long after = PeakKib(serve->Pid());
  EXPECT_LT(after - before, 16 * 1024)
      << "peak resident memory went from " << before << " to " << after << " KiB";

  // A head that trickles in keeps its thread no longer than the read time-out
  // (5 s), however steadily the bytes come.
  const int slow = OpenHttp(port, "GET /api/state HTTP/1.1\r\n");
  ASSERT_GE(slow, 0);
  const auto start = std::chrono::steady_clock::now();
  std::string reply;
  for (int i = 0; i < 40 && reply.empty(); ++i) {
    ::send(slow, "X", 1, MSG_NOSIGNAL);
    reply = ReadSome(slow, 500ms, 4096);
  }
  ::close(slow);
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 408 ")) << reply;
  EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
  EXPECT_EQ(State(), 1);
}

TEST_F(ServeWebTest, StopAndStartWithTheTokenShowWhatTheTrayShows) {
  StartServe();
  const HttpReply stop = Post("/api/stop", token);
  ASSERT_EQ(stop.status, 200) << stop.body;
  ASSERT_TRUE(WaitUntil([&] { return State() == 0; }, 10s));
  EXPECT_EQ(GetJson("/api/state")["text"], "停止中");

  // A start whose checks fail answers with the warning, as the tray shows it.
  settings::InputFolderSetting folder;
  folder.inputDir = hot.string();
  folder.widePrinterName = "nobody";
  settings::SaveInputSettings(home, {folder});
  const HttpReply refused = Post("/api/start", token);
  ASSERT_EQ(refused.status, 200) << refused.body;
  const Json failed = Json::parse(refused.body);
  EXPECT_EQ(failed["started"], false);
  EXPECT_EQ(failed["text"], "停止中");
  ASSERT_EQ(failed["messages"].size(), 1u) << refused.body;
  EXPECT_NE(serve->Output().find("orvella serve: " + failed["messages"][0].get<std::string>()),
            std::string::npos);

  folder.widePrinterName = "plotter";
  settings::SaveInputSettings(home, {folder});
  const HttpReply start = Post("/api/start", token);
  ASSERT_EQ(start.status, 200) << start.body;
  EXPECT_EQ(Json::parse(start.body)["started"], true);
  EXPECT_EQ(Json::parse(start.body)["messages"], Json::array());
  EXPECT_EQ(State(), 1);
}

// A hot folder that is gone (an unmounted share) stops nothing: the start
// says so in one line, the page's answer carries it, and the folder list
// shows which folder it is.
TEST_F(ServeWebTest, AMissingInputFolderIsToldAndShownButStopsNothing) {
  std::vector<settings::InputFolderSetting> inputs = settings::LoadInputSettings(home);
  ASSERT_EQ(inputs.size(), 1u);
  inputs.push_back(inputs[0]);
  const std::string gone = (dir / "share/gone").string();
  inputs[1].inputDir = gone;
  inputs[1].memo = "共有";
  settings::SaveInputSettings(home, inputs);
  const std::string message = "入力フォルダ " + gone + " が見つからないか、読み込めません。";
  StartServe();
  // The page answers before the start has run.
  EXPECT_TRUE(WaitUntil([&] { return State() == 1; }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return serve->Output().find(message) != std::string::npos; }, 10s))
      << serve->Output();
  EXPECT_NE(
      serve->Output().find("orvella serve: " + message + " (input folder 1 (" + gone + ") does not exist"),
      std::string::npos)
      << serve->Output();

  const Json folders = GetJson("/api/folders")["folders"];
  ASSERT_EQ(folders.size(), 2u) << folders;
  EXPECT_EQ(folders[0], (Json{{"path", hot.string()},
                              {"memo", ""},
                              {"readable", true},
                              {"message", nullptr},
                              {"detail", nullptr}}));
  EXPECT_EQ(folders[1]["path"], gone);
  EXPECT_EQ(folders[1]["memo"], "共有");
  EXPECT_EQ(folders[1]["readable"], false);
  EXPECT_EQ(folders[1]["message"], message);
  EXPECT_NE(folders[1]["detail"].get<std::string>().find("does not exist"), std::string::npos);

  ASSERT_EQ(Post("/api/stop", token).status, 200);
  ASSERT_TRUE(WaitUntil([&] { return State() == 0; }, 10s));
  std::filesystem::create_directories(gone);
  const HttpReply mended = Post("/api/start", token);
  EXPECT_EQ(Json::parse(mended.body)["messages"], Json::array()) << mended.body;
  EXPECT_EQ(GetJson("/api/folders")["folders"][1]["readable"], true);
  std::filesystem::remove(gone);
  ASSERT_EQ(Post("/api/stop", token).status, 200);
  ASSERT_TRUE(WaitUntil([&] { return State() == 0; }, 10s));
  const HttpReply told = Post("/api/start", token);
  EXPECT_EQ(Json::parse(told.body)["started"], true) << told.body;
  EXPECT_EQ(Json::parse(told.body)["messages"], Json::array({message})) << told.body;
}

TEST_F(ServeWebTest, ASecondServiceOnThePortAndAStartThatFailsBothExitOne) {
  StartServe();
  auto second = [&](const std::filesystem::path& home, const std::string& output) {
    BackgroundProcess run(BinaryPath("orvella"),
                          {"serve", "--home", home.string(), "--http", "127.0.0.1:" + std::to_string(port)},
                          dir / output);
    const auto code = run.WaitExit(20s);
    return std::make_pair(code.value_or(-1), run.Output());
  };
  const auto [busy, busyOut] = second(dir / "other", "busy.out");
  EXPECT_EQ(busy, 1);
  EXPECT_NE(busyOut.find("cannot listen on 127.0.0.1:" + std::to_string(port)), std::string::npos) << busyOut;

  ASSERT_EQ(::kill(serve->Pid(), SIGTERM), 0);
  ASSERT_EQ(serve->WaitExit(10s), 0);
  settings::InputFolderSetting folder;
  folder.inputDir = hot.string();
  folder.widePrinterName = "nobody";
  settings::SaveInputSettings(home, {folder});
  const auto [failed, failedOut] = second(home, "failed.out");
  EXPECT_EQ(failed, 1);
  EXPECT_NE(failedOut.find("operation did not start"), std::string::npos) << failedOut;
}

TEST_F(ServeWebTest, AThousandEventStreamsHoldUpNeitherTheJobNorTheExit) {
  // Room for a thousand sockets here (serve raises its own limit).
  if (!RoomForAThousandSockets()) GTEST_SKIP() << "the hard limit on open files is below 4096";
  // Slow enough that the streams open while the job prints.
  sim.Write("faults", "transfer-rate 500000\n");
  StartServe();
  // How long the job takes with nobody watching...
  auto print = [&](const std::string& name, const std::function<void()>& whilePrinting) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t rows = GetJson("/api/jobs")["rows"].size();
    WriteThreePages(hot / name);
    EXPECT_TRUE(WaitUntil([&] { return GetJson("/api/jobs")["rows"].size() > rows; }, 30s));
    whilePrinting();
    EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(hot / name); }, 60s)) << serve->Output();
    return std::chrono::steady_clock::now() - start;
  };
  const auto alone = print("alone.tif", [] {});

  // ... and with a thousand event streams opened while it prints.
  std::vector<int> streams;
  const auto watched = print("watched.tif", [&] {
    for (int i = 0; i < 1000; ++i) {
      // Each from an address of its own: one address holds only a few.
      const int fd = OpenHttp(port, "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", Loopback(2, i));
      ASSERT_GE(fd, 0) << "stream " << i;
      streams.push_back(fd);
    }
  });
  EXPECT_LT(watched, 2 * alone + 2s) << "the job waited for the streams";

  int open = 0;
  int refused = 0;
  std::string seen;
  for (const int fd : streams) {
    const std::string head = ReadSome(fd, 200ms, 200000);
    if (head.starts_with("HTTP/1.1 200")) {
      ++open;
      seen += head;
    }
    refused += head.starts_with("HTTP/1.1 503");
  }
  EXPECT_EQ(open, 16);
  EXPECT_EQ(refused, 1000 - 16);
  // The open streams had the job's rows as they changed.
  EXPECT_NE(seen.find("\"file\":\"watched.tif\",\"folder\":\"" + hot.string() +
                      "\",\"status\":\"出力済(部数1/1 ページ3/3)\""),
            std::string::npos)
      << seen.substr(0, 2000);

  // The streams still open end with the service.
  ASSERT_EQ(::kill(serve->Pid(), SIGTERM), 0);
  EXPECT_EQ(serve->WaitExit(10s), 0) << serve->Output();
  for (const int fd : streams) ::close(fd);
}

// Forty clients that send their heads a line at a time and a thousand that
// connect and send nothing hold no worker: the API answers within a second
// all along, each slow head is cut off at the deadline however steadily it
// comes, and one address holds only a few connections.
TEST_F(ServeWebTest, SlowAndIdleClientsLeaveTheApiAnswering) {
  if (!RoomForAThousandSockets()) GTEST_SKIP() << "the hard limit on open files is below 4096";
  StartServe();
  std::vector<int> idle;
  for (int i = 0; i < 1000; ++i) {
    const int fd = OpenHttp(port, "", Loopback(3, i));
    ASSERT_GE(fd, 0) << "idle connection " << i;
    idle.push_back(fd);
  }
  std::vector<int> slow;
  for (int i = 0; i < 40; ++i) {
    const int fd = OpenHttp(port, "GET /api/state HTTP/1.1\r\n", Loopback(4, i));
    ASSERT_GE(fd, 0) << "slow client " << i;
    slow.push_back(fd);
  }
  const auto start = std::chrono::steady_clock::now();
  // For three seconds, a header line from each slow client every half
  // second, and the API in between.
  for (int round = 0; round < 6; ++round) {
    for (const int fd : slow) ::send(fd, "X-Slow: a\r\n", 11, MSG_NOSIGNAL);
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(SendHttp(port, "GET", "/api/state", {}, "", 1s).status, 200) << "round " << round;
    const int stopStart = Post(round % 2 ? "/api/start" : "/api/stop", token).status;
    EXPECT_TRUE(stopStart == 200 || stopStart == 409) << "round " << round << ": " << stopStart;
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s) << "round " << round;
    std::this_thread::sleep_for(
        500ms - std::min<std::chrono::nanoseconds>(500ms, std::chrono::steady_clock::now() - asked));
  }
  // The head's deadline counts from the connection, not from the last line.
  int cut = 0;
  for (const int fd : slow) {
    ::send(fd, "X-Slow: a\r\n", 11, MSG_NOSIGNAL);
    cut += ReadSome(fd, 4s, 4096).starts_with("HTTP/1.1 408 ");
  }
  EXPECT_EQ(cut, 40);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 7s);
  for (const int fd : idle) ::close(fd);
  for (const int fd : slow) ::close(fd);

  // One address: its first connections are held, the rest closed at once.
  std::vector<int> same;
  for (int i = 0; i < 12; ++i) same.push_back(OpenHttp(port, "", "127.5.0.1"));
  int closed = 0;
  for (const int fd : same) {
    char byte;
    pollfd watch{fd, POLLIN, 0};
    closed += fd >= 0 && ::poll(&watch, 1, 200) == 1 && ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
  }
  EXPECT_EQ(closed, 12 - 8);
  for (const int fd : same) ::close(fd);
  EXPECT_EQ(SendHttp(port, "GET", "/api/state", {}, "", 1s).status, 200);
}

// The page answers only to its own names, takes a request that carries an
// Origin only from its own page, and wants the token for every POST.
TEST_F(ServeWebTest, AnswersOnlyItsOwnNamesAndItsOwnPage) {
  StartServe({"--http-host", "printroom.example", "--http-host", "plots"});
  const std::string p = std::to_string(port);
  const std::string own = "127.0.0.1:" + p;
  struct Case {
    std::string host;
    std::string origin;  // none when empty
    std::string method;
    std::string tokenHeader;
    int status;
    std::string why = "";  // in the refusal
  };
  const std::string withToken = "X-Orvella-Token: " + token;
  const Case cases[] = {
      {"127.0.0.1", "", "GET", "", 200},
      {own, "", "GET", "", 200},
      {"localhost", "", "GET", "", 200},
      {"LocalHost:" + p, "", "GET", "", 200},
      {"printroom.example:" + p, "", "GET", "", 200},
      {"plots", "", "GET", "", 200},
      {"rebound.example", "", "GET", "", 421, "--http-host"},
      {"rebound.example:" + p, "", "GET", "", 421, "--http-host"},
      {"printroom.example.rebound.example", "", "GET", "", 421, "--http-host"},
      {"127.0.0.1:1", "", "GET", "", 421, "--http-host"},
      {"127.0.0.1:" + p + "0", "", "GET", "", 421, "--http-host"},
      {"", "", "GET", "", 400, "no Host header"},
      {own, "http://" + own, "POST", withToken, 200},
      {"plots:" + p, "http://plots:" + p, "POST", withToken, 200},
      {own, "http://rebound.example", "POST", withToken, 403, "another site"},
      {own, "http://localhost:" + p, "POST", withToken, 403, "another site"},
      {own, "https://" + own, "POST", withToken, 403, "another site"},
      {own, "null", "POST", withToken, 403, "another site"},
      {own, "http://rebound.example", "GET", "", 403, "another site"},
      {own, "", "POST", "", 403, "token"},
      {own, "http://" + own, "POST", "", 403, "token"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> headers{"Host: " + c.host, "Content-Type: text/plain"};
    if (!c.origin.empty()) headers.push_back("Origin: " + c.origin);
    if (!c.tokenHeader.empty()) headers.push_back(c.tokenHeader);
    const bool post = c.method == "POST";
    const HttpReply reply = SendHttp(port, c.method, post ? "/api/printers/check" : "/api/state", headers,
                                     post ? R"({"name": "plotter"})" : "");
    SCOPED_TRACE(c.method + " Host: " + c.host + " Origin: " + c.origin);
    EXPECT_EQ(reply.status, c.status) << reply.body;
    EXPECT_NE(reply.body.find(c.why), std::string::npos) << reply.body;  // each refusal says why
  }
  EXPECT_EQ(SendHttp(port, "GET", "/api/state", {"Host: rebound.example"}).body.find("稼動"),
            std::string::npos);
}

// --http-host takes host names only, and only beside --http.
TEST_F(ServeWebTest, HttpHostTakesOnlyNamesBesideHttp) {
  struct Case {
    std::vector<std::string> args;
    const char* why;
  };
  const Case cases[] = {
      {{"--http-host", "plots"}, "give --http too"},
      {{"--http", "--http-host", "plots/x"}, "'plots/x' is not a host name"},
      {{"--http", "--http-host", "plots:8631"}, "'plots:8631' is not a host name"},
      {{"--http", "--http-host", ""}, "'' is not a host name"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"serve", "--home", home.string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult result = RunProcess(BinaryPath("orvella"), args, 20);
    EXPECT_EQ(result.exitCode, 2) << c.why;
    EXPECT_NE(result.err.find(c.why), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace orvella::test
