// The status page in a real browser (headless Chromium through Selenium)
// while the service prints to the simulated printer. Skipped only where
// Chromium is not installed.
#include "app/serve_web_fixture.h"
#include "support/process.h"

namespace orvella::test {
namespace {

using namespace std::chrono_literals;

class ServeWebBrowserTest : public ServeWebFixture {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists("/usr/bin/chromium")) GTEST_SKIP() << "chromium is not installed";
    ServeWebFixture::SetUp();
    StartServe();
  }

  // Debian's python, which has python3-selenium.
  ProcessResult Browse(std::vector<std::string> args) {
    args.insert(args.begin(), ORVELLA_TESTS_APP "/web_page_browser.py");
    return RunProcess("/usr/bin/python3", args, 180);
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port) + "/"; }
};

TEST_F(ServeWebBrowserTest, AJobsRowAppearsAndTurnsToPrinted) {
  WriteThreePages(dir / "drawing.tif");
  const ProcessResult page =
      Browse({"print", Url(), (dir / "drawing.tif").string(), hot.string(), "出力済(部数1/1 ページ3/3)"});
  EXPECT_EQ(page.exitCode, 0) << page.err << page.out << serve->Output();
  EXPECT_EQ(page.out, "出力済(部数1/1 ページ3/3)\n");
}

TEST_F(ServeWebBrowserTest, TheTokenStopsTheSystem) {
  const ProcessResult page = Browse({"stop", Url(), token});
  EXPECT_EQ(page.exitCode, 0) << page.err << page.out << serve->Output();
  EXPECT_EQ(State(), 0);
}

// The printer check and a kept drawing's download both need the token: typed
// into the page, its own buttons and links carry it.
TEST_F(ServeWebBrowserTest, TheTokenChecksAPrinterAndDownloadsAKeptDrawing) {
  WriteFileBytes(hot / "notes.txt", "not a drawing");
  ASSERT_TRUE(WaitUntil([&] { return GetJson("/api/errors")["records"].size() == 1; }, 30s))
      << serve->Output();
  const std::filesystem::path downloads = dir / "downloads";
  std::filesystem::create_directories(downloads);
  const ProcessResult page = Browse({"tokened", Url(), token, downloads.string()});
  EXPECT_EQ(page.exitCode, 0) << page.err << page.out << serve->Output();
  EXPECT_EQ(page.out, "印刷可能\nnotes.txt\n");
  EXPECT_EQ(ReadFileBytes(downloads / "notes.txt"), "not a drawing");
}

}  // namespace
}  // namespace orvella::test
