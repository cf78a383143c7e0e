// orvella serve --http driven through its JSON API while it prints to the
// simulated printer: what it serves, what it refuses, start and stop with
// the token, and a crowd of event streams that must not hold up a job.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <functional>

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

  const Json errors = GetJson("/api/errors")["records"];
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0]["file"], "notes.txt");
  EXPECT_EQ(errors[0]["message"], "未対応ファイル");
  EXPECT_EQ(SendHttp(port, "GET", errors[0]["download"]).body, "not a drawing");

  const Json printers = GetJson("/api/printers")["printers"];
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0]["name"], "plotter");
  EXPECT_EQ(printers[0]["last_check"], nullptr);
  const HttpReply check = Post("/api/printers/check", "", R"({"name": "plotter"})");
  ASSERT_EQ(check.status, 200) << check.body;
  EXPECT_EQ(Json::parse(check.body)["fit"], true) << check.body;
  EXPECT_EQ(GetJson("/api/printers")["printers"][0]["last_check"]["fit"], true);

  const HttpReply page = SendHttp(port, "GET", "/");
  EXPECT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("稼動状況"), std::string::npos);
  EXPECT_NE(page.headers.find("Content-Security-Policy: default-src 'self'"), std::string::npos);
  EXPECT_EQ(SendHttp(port, "GET", "/static/icons/mark_done.png").status, 200);
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
      {"GET", "/api/errors/" + home.string() + "/INI/file", "", "", 404},
      {"GET", "/api/errors/20260101_000000_x.tif/file", "", "", 404},
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
      {"POST", "/api/printers/check", "", R"({"name": "nobody"})", 404},
      {"POST", "/api/printers/check", "", "not json", 400},
      {"POST", "/api/printers/check", "", std::string(20000, '{'), 413},
      {"GET", "/INI/PRINTER.INI", "", "", 404},
      {"GET", "/TEMP/http-token", "", "", 404},
  };
  for (const Case& c : cases) {
    std::vector<std::string> headers{"Content-Type: application/json"};
    if (!c.tokenHeader.empty()) headers.push_back(c.tokenHeader);
    const HttpReply reply = SendHttp(port, c.method, c.path, headers, c.body);
    EXPECT_EQ(reply.status, c.status) << c.method << " " << c.path.substr(0, 80) << ": " << reply.body;
    EXPECT_EQ(reply.body.find(this->token), std::string::npos);
  }
  EXPECT_EQ(State(), 1) << "no refused request stopped the system";
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
  EXPECT_EQ(State(), 1);
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
  // Room for a thousand sockets here and in the service.
  rlimit files{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &files), 0);
  if (files.rlim_max < 4096) GTEST_SKIP() << "the hard limit on open files is below 4096";
  files.rlim_cur = files.rlim_max;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &files), 0);
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
      const int fd = OpenHttp(port, "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
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

}  // namespace
}  // namespace orvella::test
