#pragma once
// The worker of one source file: classify it, split it into units (the whole
// file, a page of a copy, or a copy of a plot), convert and send each unit,
// show and log every step, keep the resume record, and delete the file when
// it is done. Failures skip a unit, move the file to the error folder, or stop
// the system with the file left in place.
#include <filesystem>
#include <memory>

#include "jobs/job_request.h"
#include "jobs/job_view.h"
#include "jobs/operation_settings.h"
#include "jobs/run_state.h"
#include "jobs/undeletable_files.h"
#include "jobs/unit_conversion.h"
#include "logging/net_send.h"
#include "printer/printer_memory.h"
#include "printer/printer_timings.h"

namespace orvella::jobs {

struct WorkerContext {
  WorkerContext(const std::filesystem::path& programFolder, std::shared_ptr<const OperationSettings> loaded,
                RunControl& runControl, JobView& jobView, printer::PrinterMemoryTable& memoryTable)
      : program(programFolder),
        settings(std::move(loaded)),
        control(runControl),
        view(jobView),
        memory(memoryTable) {}
  std::filesystem::path program;
  std::shared_ptr<const OperationSettings> settings;  // as loaded by the start of operation
  RunControl& control;
  JobView& view;
  printer::PrinterMemoryTable& memory;
  std::filesystem::path data;       // the shipped read-only files (ProcessFolders::data)
  logging::NetSendCommand notices;  // how failed jobs are told to the workstations
  // Where files that could not be removed after their job are remembered;
  // none: they are only reported.
  UndeletableFiles* undeletable = nullptr;
  // Where automatic trays come from; empty: the printer's "info" file.
  TrayInformationSource trayInformation;
  printer::PrinterTimings timings;
};

// Runs the job of request on the calling thread. 1 when the source file was
// deleted after normal completion, else 0. Never throws.
int RunJob(const JobRequest& request, const WorkerContext& context);

}  // namespace orvella::jobs
