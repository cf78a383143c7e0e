// The worker against simulated printers: units printed, resumed, skipped,
// and what a printer that does not answer does to the system.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "jobs/resume_point.h"
#include "jobs/undeletable_files.h"
#include "jobs/worker_fixture.h"
#include "settings/app_data.h"
#include "support/printer_sim.h"
#include "support/undeletable.h"

namespace orvella::jobs {
namespace {

using test::RecordingView;

constexpr char kReady[] = "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n";
constexpr char kPlot[] =
    "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%0BBPIN;PA0,0;PD4000,0,4000,2000;PU;PG;"
    "\x1b%-12345X@PJL EOJ\r\n";

class JobWorkerPrinterTest : public test::WorkerFixture {
 protected:
  JobWorkerPrinterTest() {
    wide.Write("stat", kReady);
    office.Write("stat", kReady);

    settings::PrinterSetting plotter;
    plotter.name = "plotter";
    plotter.ipAddr = {127, 0, 0, 1};
    plotter.model = 0;  // MODEL_05
    plotter.trays[0].size = settings::WideTraySize::kRoll297;
    plotter.trays[1].size = settings::WideTraySize::kRoll594;
    settings::PrinterSetting a2;
    a2.name = "office";
    a2.ipAddr = {127, 0, 0, 1};
    a2.model = settings::kA2ModelNumber;
    a2.a2Trays[0].size = settings::A2TraySize::kA4Tate;
    loaded.printers = {plotter, a2};
    memory.Rebuild(loaded.printers.size(), 200000, 200000);

    loaded.hidden.checkRetry = 0;
    loaded.hidden.sendTimeout = 10;
    folder.widePrinterName = "plotter";
    UsePrinterPorts(wide);
    tune = [](WorkerContext& context) {
      context.timings.snmpTimeoutMs = 300;
      context.timings.statTimeoutMs = 3000;
      context.timings.memoryPollMs = 100;
    };
  }

  // Both printers share the one address: the ports choose the simulator.
  void UsePrinterPorts(const orvella::test::SimulatedPrinter& sim) {
    loaded.hidden.printerFtpPort = sim.FtpPort();
    loaded.hidden.printerSnmpPort = sim.SnmpPort();
  }

  static std::vector<std::string> Texts(const RecordingView& view) {
    std::vector<std::string> texts;
    for (const auto& row : view.rows) texts.push_back(row.text);
    return texts;
  }

  orvella::test::SimulatedPrinter wide;
  orvella::test::SimulatedPrinter office;
};

TEST_F(JobWorkerPrinterTest, PagesOfEveryCopyPrintOneByOneAndAStopResumesAtTheNextUnit) {
  folder.quantity = 2;
  const std::string source = DropTiff("three.tif", 3);
  std::vector<ResumePoint> before;  // the resume record as each row is added
  RecordingView first;
  first.onAdd = [&](int row) {
    before.push_back(ReadResumePoint(program.Path(), source));
    if (row == 4) {  // the operator stops while copy 2, page 1 waits
      control.SetState(RunState::kStopPending);
      control.SetAbort(true);
    }
  };
  EXPECT_EQ(Run(source, first).end, JobEnd::kAborted);
  EXPECT_EQ(Texts(first), (std::vector<std::string>{"出力済(部数1/2 ページ1/3)", "出力済(部数1/2 ページ2/3)",
                                                    "出力済(部数1/2 ページ3/3)", "中止(部数2/2 ページ1/3)"}));
  ASSERT_EQ(before.size(), 4u);
  const std::vector<std::pair<int, int>> expected{{0, 0}, {0, 1}, {0, 2}, {1, 0}};
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(std::make_pair(before[i].qty, before[i].page), expected[i]) << "before row " << i + 1;
  }
  EXPECT_TRUE(std::filesystem::exists(source));
  EXPECT_EQ(wide.SpoolFiles().size(), 3u);

  control.SetAbort(false);
  control.SetState(RunState::kRunning);
  RecordingView second;
  EXPECT_EQ(Run(source, second).end, JobEnd::kPrinted);
  EXPECT_EQ(Texts(second), (std::vector<std::string>{"出力済(部数2/2 ページ1/3)", "出力済(部数2/2 ページ2/3)",
                                                     "出力済(部数2/2 ページ3/3)"}));
  EXPECT_EQ(wide.SpoolFiles().size(), 6u);
  EXPECT_FALSE(std::filesystem::exists(source));
  EXPECT_FALSE(ReadResumePoint(program.Path(), source).found);
  EXPECT_NE(TodayLog().find(",plotter,three.tif,"), std::string::npos) << TodayLog();
  EXPECT_NE(TodayLog().find(",OK\r\n"), std::string::npos);
}

// A name HIDDEN.INI cannot hold (CP932 has no é, no emoji) still gets its
// resume record, without a failed key write for every unit: after a stop the
// file goes on at its next page rather than from page 1.
TEST_F(JobWorkerPrinterTest, ANameHiddenIniCannotHoldResumesAsWell) {
  const std::string source = DropTiff("café😀.tif", 3);
  RecordingView first;
  first.onAdd = [&](int row) {
    if (row == 2) {
      control.SetState(RunState::kStopPending);
      control.SetAbort(true);
    }
  };
  Run(source, first);
  EXPECT_EQ(Texts(first), (std::vector<std::string>{"出力済(部数1/1 ページ1/3)", "中止(部数1/1 ページ2/3)"}));
  EXPECT_EQ(first.details, std::vector<std::string>{});
  EXPECT_EQ(TodayLog().find("INIファイルのキー書き込みに失敗しました"), std::string::npos) << TodayLog();

  control.SetAbort(false);
  control.SetState(RunState::kRunning);
  RecordingView second;
  Run(source, second);
  EXPECT_EQ(Texts(second),
            (std::vector<std::string>{"出力済(部数1/1 ページ2/3)", "出力済(部数1/1 ページ3/3)"}));
  EXPECT_EQ(wide.SpoolFiles().size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(source));
}

TEST_F(JobWorkerPrinterTest, APageThatCannotBeConvertedIsSkippedAndTheOthersPrint) {
  // Page 2 is longer than the longest roll cut: no tray takes it.
  const std::string source = DropTiff("long.tif", {{210, 297}, {210, 7000}, {210, 297}}, 25);
  RecordingView view;
  EXPECT_EQ(Run(source, view).end, JobEnd::kPartlyFailed);
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[1].text, "トレイ選択不可(部数1/1 ページ2/3)");
  EXPECT_EQ(view.rows[1].mark, StatusMark::kFailed);
  EXPECT_EQ(view.rows[2].text, "出力済(部数1/1 ページ3/3)");
  EXPECT_EQ(wide.SpoolFiles().size(), 2u);
  // The page's error folder is named after it and holds the whole file.
  ASSERT_EQ(CountErrorCopies("long.tif"), 1);
  for (const auto& entry : std::filesystem::directory_iterator(program / "ERROR")) {
    EXPECT_TRUE(entry.path().filename().string().ends_with("_long_p2.tif")) << entry.path();
  }
  EXPECT_FALSE(std::filesystem::exists(source));
  EXPECT_EQ(control.State(), RunState::kRunning);
}

TEST_F(JobWorkerPrinterTest, AWholeFileJobWithFinishingIsOnePrintJob) {
  folder.widePrinterName.clear();
  folder.a2PrinterName = "office";
  folder.staple = settings::StapleMode::kLeftTop;
  folder.quantity = 2;
  UsePrinterPorts(office);
  const std::string source = DropTiff("bound.tif", 2);
  RecordingView view;
  EXPECT_EQ(Run(source, view).end, JobEnd::kPrinted);
  EXPECT_EQ(Texts(view), std::vector<std::string>{"出力済(部数2/2 ページ2/2)"});
  EXPECT_EQ(office.SpoolFiles().size(), 1u);
  EXPECT_NE(TodayLog().find(",office,bound.tif,1,210,297,"), std::string::npos) << TodayLog();
}

TEST_F(JobWorkerPrinterTest, APlotPrintsOncePerCopy) {
  folder.quantity = 2;
  const std::string source = DropFile("plan.plt", kPlot);
  RecordingView view;
  EXPECT_EQ(Run(source, view).end, JobEnd::kPrinted);
  EXPECT_EQ(Texts(view), (std::vector<std::string>{"出力済(部数1/2)", "出力済(部数2/2)"}));
  EXPECT_EQ(wide.SpoolFiles().size(), 2u);
}

TEST_F(JobWorkerPrinterTest, AnyFileIsAPlotWhenUnsupportedFilesAreTakenAsPlots) {
  loaded.hidden.enableUnsupportedGl = true;
  const std::string source = DropFile("empty.dat", "");
  RecordingView view;
  EXPECT_EQ(Run(source, view).end, JobEnd::kFailed);
  EXPECT_EQ(Texts(view), std::vector<std::string>{"HPGL画像サイズ取得エラー(部数1/1)"});
  EXPECT_EQ(CountErrorCopies("empty.dat"), 1);
  EXPECT_FALSE(std::filesystem::exists(source));
}

TEST_F(JobWorkerPrinterTest, APrinterThatDoesNotAnswerStopsTheSystemAndKeepsTheFile) {
  loaded.hidden.printerFtpPort = orvella::test::UnusedLoopbackPort();
  loaded.hidden.printerSnmpPort = orvella::test::UnusedLoopbackPort();
  const std::string source = DropTiff("unplugged.tif", 1);
  RecordingView view;
  EXPECT_EQ(Run(source, view).end, JobEnd::kStopped);
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].mark, StatusMark::kFailed);
  EXPECT_NE(view.rows[0].text.find("(部数1/1 ページ1/1)"), std::string::npos) << view.rows[0].text;
  EXPECT_EQ(control.State(), RunState::kStopPending);
  EXPECT_TRUE(std::filesystem::exists(source));
  EXPECT_EQ(CountErrorCopies("unplugged.tif"), 0);
}

// A full TEMP fails conversions that would succeed: the drawing is not to
// blame, so it stays for the operator's restart instead of going to the
// error folder.
TEST_F(JobWorkerPrinterTest, AFullTempStopsTheSystemAndKeepsTheFile) {
  const std::filesystem::path temp = program / "TEMP";
  if (::mount("orvella-test", temp.c_str(), "tmpfs", 0, "size=256k") != 0)
    GTEST_SKIP() << "TEMP cannot be mounted as a small tmpfs here";
  struct Unmount {
    std::filesystem::path at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{temp};
  const std::filesystem::path filler = temp / "filler";
  {
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
  }
  for (const std::string& source : {DropTiff("page.tif", 1), DropFile("plan.plt", kPlot)}) {
    SCOPED_TRACE(source);
    control.SetState(RunState::kRunning);
    control.SetAbort(false);
    RecordingView view;
    EXPECT_EQ(Run(source, view).end, JobEnd::kStopped);
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0].mark, StatusMark::kFailed);
    EXPECT_EQ(control.State(), RunState::kStopPending);
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_EQ(CountErrorCopies(std::filesystem::path(source).filename().string()), 0);
  }
  EXPECT_TRUE(wide.SpoolFiles().empty());

  std::filesystem::remove(filler);  // the operator makes room and starts again
  control.SetState(RunState::kRunning);
  control.SetAbort(false);
  RecordingView view;
  EXPECT_EQ(Run((hot / "page.tif").string(), view).end, JobEnd::kPrinted);
  EXPECT_EQ(Run((hot / "plan.plt").string(), view).end, JobEnd::kPrinted);
  EXPECT_EQ(wide.SpoolFiles().size(), 2u);
}

// The file a job started with is the only file it prints: a file renamed
// over it, a rewrite in place or a removal ends that job after the units
// already printed, without a unit of mixed content, without the error folder
// and without stopping the system; a new file under the name is a new job.
TEST_F(JobWorkerPrinterTest, AFileReplacedOrRemovedDuringItsJobEndsOnlyThatJob) {
  struct Case {
    const char* what;
    std::function<void(const std::string& source)> change;
    const char* message;
    JobEnd end;
  };
  const std::vector<Case> cases{
      {"renamed over",
       [this](const std::string& source) { std::filesystem::rename(DropTiff("new.tif", 3), source); },
       "処理中にファイルが置き換えられました", JobEnd::kReplaced},
      {"rewritten in place",
       [this](const std::string& source) {
         const std::string bytes = orvella::test::ReadFileBytes(DropTiff("new.tif", 3));
         std::filesystem::remove(hot / "new.tif");
         orvella::test::WriteFileBytes(source, bytes);  // same inode, truncated and written
       },
       "処理中にファイルが置き換えられました", JobEnd::kReplaced},
      {"removed", [](const std::string& source) { std::filesystem::remove(source); },
       "処理中にファイルが削除されました", JobEnd::kRemoved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& spooled : wide.SpoolFiles()) std::filesystem::remove(spooled);
    const std::string source = DropTiff("same.tif", {{210, 297}, {297, 420}, {210, 297}});
    RecordingView view;
    // Between the row of page 2 and its conversion.
    view.onAdd = [&](int row) {
      if (row == 2) c.change(source);
    };
    EXPECT_EQ(Run(source, view).end, c.end);
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].text, "出力済(部数1/1 ページ1/3)");
    EXPECT_EQ(view.rows[1].text, std::string(c.message) + "(部数1/1 ページ2/3)");
    EXPECT_EQ(view.rows[1].mark, StatusMark::kFailed);
    EXPECT_FALSE(view.details.empty());
    EXPECT_EQ(wide.SpoolFiles().size(), 1u);
    EXPECT_EQ(control.State(), RunState::kRunning);
    EXPECT_EQ(CountErrorCopies("same.tif"), 0);
    EXPECT_NE(TodayLog().find(",plotter,same.tif,-,-,-,-," + std::string(c.message) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(settings::ReadLastProcessFile(program.Path()).path, "");
    if (!std::filesystem::exists(source)) continue;

    // The new file is a job of its own, from its first page.
    RecordingView next;
    EXPECT_EQ(Run(source, next).end, JobEnd::kPrinted);
    EXPECT_EQ(Texts(next), (std::vector<std::string>{"出力済(部数1/1 ページ1/3)", "出力済(部数1/1 ページ2/3)",
                                                     "出力済(部数1/1 ページ3/3)"}));
    EXPECT_FALSE(std::filesystem::exists(source));
  }
}

// A name the folder will not let go of (a sticky folder, a read-only share):
// the job is done, the file is remembered and passed over, and the other
// folders go on.
TEST_F(JobWorkerPrinterTest, AFileThatCannotBeRemovedIsRememberedAndTheSystemRuns) {
  const std::string source = DropTiff("stuck.tif", 1);
  const orvella::test::Undeletable stuck(source);
  if (!stuck) GTEST_SKIP() << "no way to make a file undeletable here";
  UndeletableFiles list(program.Path());
  tune = [previous = tune, &list](WorkerContext& context) {
    previous(context);
    context.undeletable = &list;
  };
  RecordingView view;
  EXPECT_EQ(Run(source, view).end, JobEnd::kPassedOver);
  EXPECT_EQ(Texts(view), std::vector<std::string>{"ファイルの削除に失敗しました"});
  EXPECT_EQ(wide.SpoolFiles().size(), 1u);
  EXPECT_EQ(control.State(), RunState::kRunning);
  EXPECT_EQ(UndeletableFiles(program.Path()).Size(), 1u);
}

}  // namespace
}  // namespace orvella::jobs
