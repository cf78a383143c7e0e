// cmake --install into a temporary DESTDIR, then the installed programs run
// from there: the version, a check of a fresh program folder, and one job
// printed by orvella serve. The installed binary finds its data through
// ../share/orvella, never through the build tree.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/serve_home.h"
#include "app/web_client.h"
#include "support/background_process.h"
#include "support/imaging/test_bitmap.h"
#include "support/printer_sim.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using namespace std::chrono_literals;

class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new test::TempDir;
    const auto result = test::RunProcess(CMAKE_COMMAND,
                                         {"-E", "env", "DESTDIR=" + root_->Path().string(), CMAKE_COMMAND,
                                          "--install", ORVELLA_BUILD_DIR, "--prefix", "/usr"},
                                         120);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  }
  static void TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
  }

  static std::filesystem::path Installed(const std::string& relative) { return *root_ / relative; }

  // The installed orvella with a clean environment apart from extra.
  static test::ProcessResult Orvella(const std::vector<std::string>& args,
                                     std::vector<std::string> env = {}) {
    std::vector<std::string> argv{"-E", "env", "--unset=ORVELLA_HOME"};
    argv.insert(argv.end(), env.begin(), env.end());
    argv.push_back(Installed("usr/bin/orvella").string());
    argv.insert(argv.end(), args.begin(), args.end());
    return test::RunProcess(CMAKE_COMMAND, argv);
  }

  static test::TempDir* root_;
};

test::TempDir* InstallTest::root_ = nullptr;

// A program on PATH, or empty: the checks of the packaging tools run where
// the tools are installed.
std::string ToolOnPath(const std::string& name) {
  std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  for (std::string folder; std::getline(path, folder, ':');) {
    const auto candidate = std::filesystem::path(folder) / name;
    if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

TEST_F(InstallTest, ProgramsInBinAndDataInShare) {
  for (const char* file :
       {"usr/bin/orvella", "usr/bin/orvella-printer-sim", "usr/bin/orvella-netsend",
        "usr/share/orvella/Halftone/1.TIF", "usr/share/orvella/Halftone/2.TIF",
        "usr/share/orvella/Halftone/3.TIF", "usr/share/orvella/icons/orvella.png",
        "usr/share/orvella/web/index.html", "usr/share/orvella/web/icons/state_running.png"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(Installed(file))) << file;
  }
  EXPECT_FALSE(std::filesystem::exists(Installed("usr/bin/Halftone")));
  // The manual comes along when this build made it.
  EXPECT_EQ(std::filesystem::exists(Installed("usr/share/orvella/OrvellaUM.pdf")),
            std::filesystem::exists(std::string(ORVELLA_BIN_DIR) + "/OrvellaUM.pdf"));
}

TEST_F(InstallTest, ServiceUnitVerifies) {
  const auto analyze = ToolOnPath("systemd-analyze");
  if (analyze.empty()) GTEST_SKIP() << "no systemd-analyze";
  // verify wants the executable where the unit names it: the unit as
  // installed, pointed at the installed copy.
  std::ifstream in(Installed("usr/lib/systemd/system/orvella.service"));
  std::string unit((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string from = "ExecStart=/usr/bin/orvella serve --home /var/lib/orvella\n";
  const auto at = unit.find(from);
  ASSERT_NE(at, std::string::npos) << unit;
  unit.replace(at, from.size(),
               "ExecStart=" + Installed("usr/bin/orvella").string() + " serve --home /var/lib/orvella\n");
  const test::TempDir dir;
  test::WriteFileBytes(dir / "orvella.service", unit);
  const auto result = test::RunProcess(analyze, {"verify", (dir / "orvella.service").string()});
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  // An unknown key or a bad value is only a warning.
  EXPECT_EQ(result.out + result.err, "");
  for (const char* file : {"usr/lib/sysusers.d/orvella.conf", "usr/lib/tmpfiles.d/orvella.conf"})
    EXPECT_TRUE(std::filesystem::is_regular_file(Installed(file))) << file;
}

TEST_F(InstallTest, DesktopEntriesValidateAndTheIconIsInHicolor) {
  const std::vector<std::string> entries{Installed("usr/share/applications/orvella.desktop").string(),
                                         Installed("etc/xdg/autostart/orvella.desktop").string()};
  for (const char* size : {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
    EXPECT_TRUE(
        std::filesystem::is_regular_file(Installed("usr/share/icons/hicolor/") / size / "apps/orvella.png"))
        << size;
  }
  const auto validate = ToolOnPath("desktop-file-validate");
  if (validate.empty()) GTEST_SKIP() << "no desktop-file-validate";
  const auto result = test::RunProcess(validate, entries);
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(result.out + result.err, "");
}

TEST_F(InstallTest, VersionNamesTheCommitAndTheLibraries) {
  const auto result = Orvella({"--version"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* line :
       {"orvella ", "\ncommit ", "\nlibtiff 4.", "\nlibcurl ", "\nnet-snmp ", "\ncairo 1.", "\nQt 6."}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << " in\n" << result.out;
  }
}

TEST_F(InstallTest, AnInstalledProgramKeepsItsFolderInTheUsersDataFolder) {
  const test::TempDir data;
  const auto result = Orvella({"--help"}, {"XDG_DATA_HOME=" + data.Path().string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("program folder: " + (data / "orvella").string() + " ($XDG_DATA_HOME/orvella"),
            std::string::npos)
      << result.out;
  EXPECT_TRUE(std::filesystem::is_directory(data / "orvella"));
}

TEST_F(InstallTest, SettingsCheckOnAFreshProgramFolder) {
  const test::TempDir home;
  const auto result = Orvella({"--home", home.Path().string(), "settings", "check"});
  // Nothing configured yet: no input folder, so operation would not start.
  EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
  EXPECT_NE(result.out.find("\"problems\": []"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("入力設定がありません。"), std::string::npos) << result.out;
}

TEST_F(InstallTest, ServePrintsOneJobToASimulatedPrinter) {
  const test::TempDir dir;
  const auto home = dir / "home";
  const auto hot = dir / "hot";
  test::SimulatedPrinter sim;
  test::PrepareServeHome(home, hot, sim);
  imaging::test::TiffOptions options;
  options.xResolution = options.yResolution = 100;
  imaging::test::WriteTiff(hot / "one.tif", imaging::test::Bitmap::Random(827, 1169, 1, 0.3), options);

  const int port = test::UnusedLoopbackPort();
  test::BackgroundProcess serve(
      Installed("usr/bin/orvella").string(),
      {"serve", "--home", home.string(), "--http", "127.0.0.1:" + std::to_string(port)}, dir / "serve.out");
  for (auto end = std::chrono::steady_clock::now() + 60s;
       std::filesystem::exists(hot / "one.tif") && std::chrono::steady_clock::now() < end;) {
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_FALSE(std::filesystem::exists(hot / "one.tif")) << serve.Output();
  // The status page's files come from share/orvella/web.
  for (const char* path : {"/", "/static/page.js", "/static/icons/mark_done.png"})
    EXPECT_EQ(test::SendHttp(port, "GET", path).status, 200) << path;
  ASSERT_EQ(::kill(serve.Pid(), SIGTERM), 0);
  EXPECT_EQ(serve.WaitExit(10s), 0);
  EXPECT_NE(serve.Output().find("[done] 出力済(部数1/1 ページ1/1)"), std::string::npos) << serve.Output();
  EXPECT_EQ(sim.SpoolFiles().size(), 1u);
}

}  // namespace
}  // namespace orvella
