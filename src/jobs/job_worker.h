#pragma once
// The worker of one source file: classify it, split it into units (the whole
// file, a page of a copy, or a copy of a plot), convert and send each unit,
// show and log every step, keep the resume record, and delete the file when
// it is done. Failures skip a unit, move the file to the error folder, or end
// the job with the file left in place and the system to be stopped.
#include <filesystem>
#include <memory>

#include "base/failure.h"
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

// How a job ended.
enum class JobEnd {
  kNotStarted,    // the source is not the file the scan found; the next scan looks again
  kPrinted,       // every unit was sent; the file is deleted
  kPartlyFailed,  // some units went to the error folder, the others were sent; the file is deleted
  kFailed,        // nothing sent: the file or each unit went to the error folder; the file is deleted
  kStopped,       // the file stays and the system is to stop: not the file's fault, or no copy kept
  kAborted,       // the operator's stop ended the job; the file stays for the resume
  kReplaced,      // the source now holds another file, a job of its own
  kRemoved,       // the source went while the job ran
  kPassedOver,    // done, but the file could not be deleted: passed over until it changes
};

struct JobOutcome {
  JobEnd end = JobEnd::kNotStarted;
  base::Failure cause;  // why it ended so (the last unit's failure for kPartlyFailed); empty for kPrinted
};

// Runs the job of request on the calling thread; everything it shows and
// logs is done, and the caller acts on the outcome (kStopped: stop the
// system). Never throws.
JobOutcome RunJob(const JobRequest& request, const WorkerContext& context);

}  // namespace orvella::jobs
