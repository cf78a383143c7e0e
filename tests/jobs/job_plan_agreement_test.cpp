// The worker and orvella convert plan a file alike: for each kind of file the
// rows the worker shows are the units the command reports, with the same
// messages.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "jobs/job_status_text.h"
#include "jobs/worker_fixture.h"
#include "settings/input_settings.h"
#include "settings/printer_settings.h"
#include "support/printer_sim.h"
#include "support/process.h"

namespace orvella::jobs {
namespace {

using nlohmann::json;
using test::RecordingView;

constexpr char kReady[] = "Plotter (Ready.)\r\nOnline/Offline : Online.\r\n";

class JobPlanAgreement : public test::WorkerFixture {
 protected:
  JobPlanAgreement() {
    wide_.Write("stat", kReady);
    office_.Write("stat", kReady);
    settings::PrinterSetting plotter;
    plotter.name = "plotter";
    plotter.ipAddr = {127, 0, 0, 1};
    plotter.model = 0;
    plotter.trays[0].size = settings::WideTraySize::kRoll297;
    plotter.trays[1].size = settings::WideTraySize::kRoll594;
    settings::PrinterSetting a2;
    a2.name = "office";
    a2.ipAddr = {127, 0, 0, 1};
    a2.model = settings::kA2ModelNumber;
    a2.a2Trays[0].size = settings::A2TraySize::kA4Tate;
    EXPECT_TRUE(settings::SavePrinterSettings(program.Path(), {plotter, a2}));
    settings::InputFolderSetting pages;
    pages.inputDir = hot.Path().string();
    pages.widePrinterName = plotter.name;
    settings::InputFolderSetting finishing = pages;
    finishing.widePrinterName.clear();
    finishing.a2PrinterName = a2.name;
    finishing.staple = settings::StapleMode::kLeftTop;
    finishing.quantity = 2;
    settings::SaveInputSettings(program.Path(), {pages, finishing});
    // The worker runs on what the command reads.
    loaded = LoadOperationSettings(program.Path());
    memory.Rebuild(loaded.printers.size(), 200000, 200000);
    loaded.hidden.checkRetry = 0;
    loaded.hidden.sendTimeout = 10;
    tune = [](WorkerContext& context) {
      context.timings.snmpTimeoutMs = 300;
      context.timings.statTimeoutMs = 3000;
      context.timings.memoryPollMs = 100;
    };
  }

  json Convert(const std::string& source, int folderIndex) {
    const auto r =
        orvella::test::RunProcess(orvella::test::BinaryPath("orvella"),
                                  {"--home", program.Path().string(), "convert", source, "--folder",
                                   std::to_string(folderIndex), "--out", (program / "out").string()});
    EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1) << r.out << r.err;
    return json::parse(r.out);
  }

  // The rows the worker shows for the units of a convert result: one pass.
  static std::vector<std::string> RowsOf(const json& result, int copies) {
    std::vector<std::string> rows;
    const std::string mode = result["mode"].is_null() ? "" : result["mode"].get<std::string>();
    const WorkUnit kind = mode == "whole"  ? WorkUnit::kWholeTiff
                          : mode == "plot" ? WorkUnit::kHpglCopy
                                           : WorkUnit::kTiffPage;
    for (const json& unit : result["units"]) {
      const std::string message = unit["message"];
      const UnitCounters counters{1, copies, unit["page"].is_null() ? 1 : unit["page"].get<int>(),
                                  result["pages"].get<int>()};
      if (unit["ok"]) {
        rows.push_back(JobStatusText(kind, UnitStep::kDone, counters));
      } else if (mode.empty() || kind == WorkUnit::kWholeTiff) {
        rows.push_back(message);  // the file as a whole: the bare message
      } else {
        rows.push_back(JobStatusText(kind, UnitStep::kFailed, counters, message));
      }
    }
    return rows;
  }

  orvella::test::SimulatedPrinter wide_;
  orvella::test::SimulatedPrinter office_;
};

TEST_F(JobPlanAgreement, WorkerRowsAreTheCommandsUnits) {
  const std::string plot =
      "\x1b%-12345X@PJL\r\n@PJL ENTER LANGUAGE=HPGL2\r\n\x1b%0BBPIN;PA0,0;PD4000,0,4000,2000;PU;PG;"
      "\x1b%-12345X@PJL EOJ\r\n";
  struct Case {
    const char* what;
    std::function<std::string()> drop;
    int folderIndex;
    const char* mode;      // the command's, "" for none
    const char* firstRow;  // the worker's first row
    JobEnd end;
  };
  const std::vector<Case> cases{
      {"multi-page TIFF", [&] { return DropTiff("three.tif", 3); }, 0, "page", "出力済(部数1/1 ページ1/3)",
       JobEnd::kPrinted},
      {"whole file with finishing", [&] { return DropTiff("bound.tif", 2); }, 1, "whole",
       "出力済(部数2/2 ページ2/2)", JobEnd::kPrinted},
      {"plot", [&] { return DropFile("plan.plt", plot); }, 0, "plot", "出力済(部数1/1)", JobEnd::kPrinted},
      {"unsupported", [&] { return DropFile("notes.txt", "text"); }, 0, "", "未対応ファイル",
       JobEnd::kFailed},
      {"corrupt TIFF", [&] { return DropFile("broken.tif", std::string("II*\0\xff\xff\xff\x7f", 8)); }, 0, "",
       "TIFFファイルページ数取得エラー", JobEnd::kFailed},
      {"a page longer than any roll",
       [&] {
         return DropTiff("long.tif", {{210, 297}, {210, 7000}, {210, 297}}, 25);
       },
       0, "page", "出力済(部数1/1 ページ1/3)", JobEnd::kPartlyFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string source = c.drop();
    const json result = Convert(source, c.folderIndex);
    EXPECT_EQ(result["mode"], *c.mode ? json(c.mode) : json(nullptr)) << result;

    folder = loaded.inputs[static_cast<std::size_t>(c.folderIndex)];
    const auto& sim = c.folderIndex == 1 ? office_ : wide_;
    loaded.hidden.printerFtpPort = sim.FtpPort();
    loaded.hidden.printerSnmpPort = sim.SnmpPort();
    RecordingView view;
    EXPECT_EQ(Run(source, view).end, c.end);
    std::vector<std::string> rows;
    for (const auto& row : view.rows) rows.push_back(row.text);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), c.firstRow);
    EXPECT_EQ(rows, RowsOf(result, folder.quantity)) << result;
    EXPECT_EQ(control.State(), RunState::kRunning);
  }
}

}  // namespace
}  // namespace orvella::jobs
