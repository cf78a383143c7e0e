#pragma once
// A program folder, a hot folder and the loaded settings for running the
// worker on one file, with a view that records what the job window would show.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jobs/job_view.h"
#include "jobs/job_worker.h"
#include "jobs/operation_settings.h"
#include "printer/printer_memory.h"
#include "settings/printer_settings.h"
#include "support/temp_dir.h"

namespace orvella::jobs::test {

struct RecordedRow {
  std::string source;
  std::string text;  // the row's latest status text
  StatusMark mark = StatusMark::kInProgress;
  std::vector<std::string> history;  // every status text shown, in order
};

class RecordingView : public JobView {
 public:
  void AddJobRow(std::string_view sourcePath, std::string_view text, StatusMark mark) override;
  void SetJobStatus(std::string_view text, StatusMark mark) override;
  void SetRunState(RunState state) override { states.push_back(state); }
  void NoteDetail(std::string_view detail) override { details.emplace_back(detail); }

  std::vector<RecordedRow> rows;  // oldest first (the window shows them newest on top)
  std::vector<RunState> states;
  std::vector<std::string> details;
  bool throwOnAdd = false;
  // Called with the new row's number (from 1) before it is added.
  std::function<void(int)> onAdd;
};

// The wide printer "plotter" (rolls of 297 and 594 mm) and the A2 printer
// "office" (A4 portrait in tray 1), both at 127.0.0.1: the ports choose the
// simulator.
std::vector<settings::PrinterSetting> SimulatedPrinters();
// Printer time-outs short enough for simulators on loopback.
void QuickPrinterTimings(WorkerContext& context);

class WorkerFixture : public ::testing::Test {
 protected:
  WorkerFixture();

  std::string DropFile(const std::string& name, const std::string& bytes);
  struct PageMm {
    double width = 210;
    double length = 297;
  };
  // A 1-bit TIFF with a page of each size.
  std::string DropTiff(const std::string& name, const std::vector<PageMm>& pages, double dpi = 100);
  // pages A4 portrait pages.
  std::string DropTiff(const std::string& name, int pages) {
    return DropTiff(name, std::vector<PageMm>(static_cast<std::size_t>(pages)));
  }
  // Runs the job with the fixture's folder setting and settings, and stops
  // the system when the job says so, as the operation does.
  JobOutcome Run(const std::string& source, JobView& view);
  WorkerContext Context(JobView& view);

  std::string TodayLog() const;
  int CountErrorCopies(const std::string& name) const;
  void ClearErrorFolder() const;

  orvella::test::TempDir program;
  orvella::test::TempDir hot;
  settings::InputFolderSetting folder;
  OperationSettings loaded;
  RunControl control;
  printer::PrinterMemoryTable memory;
  std::function<void(WorkerContext&)> tune;  // adjusts each context before a run
};

}  // namespace orvella::jobs::test
