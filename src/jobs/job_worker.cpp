#include "jobs/job_worker.h"

#include <exception>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "jobs/job_plan.h"
#include "jobs/job_status_text.h"
#include "jobs/resume_point.h"
#include "jobs/source_file.h"
#include "jobs/undeletable_files.h"
#include "logging/error_record.h"
#include "logging/job_log.h"
#include "printer/transfer.h"
#include "settings/work_folder.h"

namespace orvella::jobs {
namespace {

// Shown when a job ends in a way no rule foresees; the system stops and the
// file stays for the operator.
constexpr const char* kUnexpectedError = "ジョブ処理エラー";
// The source's name no longer names the file the job started with.
constexpr const char* kSourceReplaced = "処理中にファイルが置き換えられました";
constexpr const char* kSourceRemoved = "処理中にファイルが削除されました";

JobOutcome Stopped(base::Failure cause) { return {JobEnd::kStopped, std::move(cause)}; }

// How a unit ended: sent, kept in the error folder, or with the job's end.
struct UnitEnd {
  enum Kind { kDone, kSkipped, kEndJob } kind = kDone;
  JobOutcome job;  // kEndJob: how the job ended; kSkipped: the unit's failure is its cause
};

class JobRun {
 public:
  JobRun(const JobRequest& request, const WorkerContext& context, SourceFile& source)
      : request_(request), context_(context), settings_(*context.settings), source_(source) {}

  JobOutcome Run();
  // After an exception: the row and the log, file kept.
  JobOutcome Abandon(const std::string& detail);

 private:
  JobOutcome RunUnits(const ConversionEnvironment& environment, const JobPlan& plan);
  // One unit: abort check, conversion, transfer, done.
  UnitEnd RunUnit(const ConversionEnvironment& environment, const JobPlan& plan, int pass,
                  const PlannedUnit& unit);

  JobOutcome FailTheFile(const base::Failure& failure);
  // Deletes the source once its job is over; done is the job's end when it
  // goes.
  JobOutcome DeleteSource(JobOutcome done);
  // Set when the source no longer is the file the job started with: the
  // job's end is shown (in the unit's row once it has one) and logged, and
  // its resume record goes: the new file is a job of its own.
  std::optional<JobOutcome> SourceChanged(bool unitRowShown, WorkUnit unit = WorkUnit::kWholeTiff,
                                          const UnitCounters& counters = {});
  JobOutcome EndForSource(SourceState state, bool unitRowShown, WorkUnit unit, const UnitCounters& counters);
  // The resume record of this file goes; a failure is only noted.
  void ForgetProgress();
  bool Transfer(const std::string& prefix, base::Failure& failure);
  std::optional<JobOutcome> MakeWorkFolder();

  void Show(const std::string& text, StatusMark mark) { context_.view.SetJobStatus(text, mark); }
  void ShowFailure(const std::string& text, const std::string& detail) {
    Show(text, StatusMark::kFailed);
    if (!detail.empty()) context_.view.NoteDetail(detail);
  }
  void Log(const std::string& message, bool withPrinter);
  void LogDone();
  void Notify(const std::string& message) {
    logging::NotifyError(context_.program, message, context_.notices);
  }
  bool Aborted() const { return context_.control.AbortRequested(); }
  void SaveProgress(int qty, int page);
  // The error folder copy; false (the job stops, file kept) when it could
  // not be made, so a failed file is never deleted without its copy.
  bool KeepErrorCopy(int page, const base::Failure& failure);

  const JobRequest& request_;
  const WorkerContext& context_;
  const OperationSettings& settings_;
  SourceFile& source_;
  CurrentJob job_;
  std::optional<settings::WorkFolder> work_;
  std::filesystem::path printFile_;
};

void JobRun::Log(const std::string& message, bool withPrinter) {
  logging::JobLogFields fields;
  fields.sourcePath = request_.sourcePath;
  if (withPrinter) fields.printerName = job_.printer.name;
  fields.message = message;
  logging::WriteJobLog(context_.program, std::nullopt, fields);
}

void JobRun::LogDone() {
  logging::JobLogFields fields;
  fields.sourcePath = request_.sourcePath;
  fields.printerName = job_.printer.name;
  fields.trayName = job_.tray.name;
  fields.widthMm = static_cast<int>(job_.tray.widthMm + 0.5);
  fields.lengthMm = static_cast<int>(job_.tray.lengthMm + 0.5);
  std::error_code error;
  const auto bytes = std::filesystem::file_size(printFile_, error);
  fields.sizeKb = error ? 0.0 : static_cast<double>(bytes) / 1024.0;
  fields.message = "OK";
  logging::WriteJobLog(context_.program, std::nullopt, fields);
}

void JobRun::SaveProgress(int qty, int page) {
  base::Failure failure;
  if (SaveResumePoint(context_.program, request_.sourcePath, source_.Stamp().fileTime, qty, page, failure)) {
    return;
  }
  // The unit is printed; only a later resume would repeat it. Say so where
  // the operator looks, and go on.
  context_.view.NoteDetail("resume record not saved: " + failure.detail);
  logging::WriteJobLogMessage(context_.program, failure.message);
}

bool JobRun::KeepErrorCopy(int page, const base::Failure& failure) {
  if (logging::WriteErrorRecord(context_.program, page, request_.sourcePath, failure.message,
                                {source_.ReaderPath(), failure.detail})) {
    return true;
  }
  context_.view.NoteDetail("the file was not copied to the error folder, so it stays in its input folder");
  return false;
}

std::optional<JobOutcome> JobRun::MakeWorkFolder() {
  std::string detail;
  if (auto made = settings::WorkFolder::Create(context_.program, detail)) {
    work_.emplace(std::move(*made));
    printFile_ = work_->Path() / "sendfile.prn";
    return std::nullopt;
  }
  // Nothing is wrong with the file: keep it and stop until the operator
  // has made room.
  context_.view.AddJobRow(request_.sourcePath, settings::kWorkFolderError, StatusMark::kFailed);
  context_.view.NoteDetail(detail);
  Log(settings::kWorkFolderError, false);
  Notify(settings::kWorkFolderError);
  return Stopped({settings::kWorkFolderError, detail});
}

JobOutcome JobRun::FailTheFile(const base::Failure& failure) {
  context_.view.AddJobRow(request_.sourcePath, failure.message, StatusMark::kFailed);
  if (!failure.detail.empty()) context_.view.NoteDetail(failure.detail);
  Log(failure.message, false);
  Notify(failure.message);
  if (!KeepErrorCopy(logging::kWholeFile, failure)) return Stopped(failure);
  return DeleteSource({JobEnd::kFailed, failure});
}

void JobRun::ForgetProgress() {
  base::Failure failure;
  if (!ClearResumePointOf(context_.program, request_.sourcePath, failure))
    context_.view.NoteDetail(failure.detail);
}

JobOutcome JobRun::DeleteSource(JobOutcome done) {
  SourceState state = SourceState::kSame;
  std::string detail;
  switch (source_.Remove(state, detail)) {
    case RemoveOutcome::kRemoved:
      ForgetProgress();
      return done;
    case RemoveOutcome::kNotThisFile:
      // Everything of the file the job started with is done; a new file under
      // its name is a job of its own, and a removed one needs nothing more.
      if (state == SourceState::kReplaced) return EndForSource(state, false, WorkUnit::kWholeTiff, {});
      ForgetProgress();
      return done;
    case RemoveOutcome::kFailed:
      break;
  }
  // A file that cannot be removed (a sticky folder, a read-only share) is
  // passed over from now on until it changes or goes: it is never printed
  // twice, and one such file does not stop every folder.
  std::string listed;
  if (context_.undeletable == nullptr) {
    detail += "; no list of such files is kept here";
  } else if (!context_.undeletable->Add(request_.sourcePath, source_.Stamp(), listed)) {
    detail += "; " + listed;
  }
  detail += "; the file is passed over until it changes or is removed";
  ShowFailure(kDeleteFailedText, detail);
  Log(kDeleteFailedText, true);
  Notify(kDeleteFailedText);
  return {JobEnd::kPassedOver, {kDeleteFailedText, detail}};
}

std::optional<JobOutcome> JobRun::SourceChanged(bool unitRowShown, WorkUnit unit,
                                                const UnitCounters& counters) {
  const SourceState state = source_.Check();
  if (state == SourceState::kSame) return std::nullopt;
  return EndForSource(state, unitRowShown, unit, counters);
}

JobOutcome JobRun::EndForSource(SourceState state, bool unitRowShown, WorkUnit unit,
                                const UnitCounters& counters) {
  const bool gone = state == SourceState::kGone;
  const char* message = gone ? kSourceRemoved : kSourceReplaced;
  const std::string detail =
      gone ? request_.sourcePath + " was removed while its job ran; what was not printed yet is not printed"
           : request_.sourcePath +
                 " now holds another file (replaced or rewritten while its job ran); nothing of it was "
                 "printed with this job, and it is taken as a new job from its first page";
  if (unitRowShown) {
    ShowFailure(JobStatusText(unit, UnitStep::kFailed, counters, message), detail);
  } else {
    context_.view.AddJobRow(request_.sourcePath, message, StatusMark::kFailed);
    context_.view.NoteDetail(detail);
  }
  Log(message, true);
  ForgetProgress();
  return {gone ? JobEnd::kRemoved : JobEnd::kReplaced, {message, detail}};
}

bool JobRun::Transfer(const std::string& prefix, base::Failure& failure) {
  printer::TransferContext transfer(context_.memory);
  transfer.printerIndex = job_.printerIndex;
  transfer.hidden = settings_.hidden;
  transfer.preferences = {settings_.preferences.enablePanelOff, settings_.preferences.enableEnergySave};
  transfer.folders = work_->Context(context_.data);
  transfer.showStatus = [this](const std::string& text) { Show(text, StatusMark::kInProgress); };
  transfer.stopRequested = [this] { return Aborted(); };
  transfer.timings = context_.timings;
  return printer::SendPrintFile(printFile_, job_.printer, prefix, failure, transfer);
}

UnitEnd JobRun::RunUnit(const ConversionEnvironment& environment, const JobPlan& plan, int pass,
                        const PlannedUnit& unit) {
  const WorkUnit kind = unit.kind;
  const UnitCounters counters = plan.Counters(pass, unit);
  if (auto changed = SourceChanged(false)) return {UnitEnd::kEndJob, *changed};
  context_.view.AddJobRow(request_.sourcePath, JobStatusText(kind, UnitStep::kAdded, counters),
                          StatusMark::kInProgress);
  const std::string aborted = JobStatusText(kind, UnitStep::kAborted, counters);
  const auto abort = [&]() -> UnitEnd {
    Show(aborted, StatusMark::kFailed);
    Log(aborted, true);
    return {UnitEnd::kEndJob, {JobEnd::kAborted, {aborted, "the operator stopped the system"}}};
  };
  if (Aborted()) return abort();
  Show(JobStatusText(kind, UnitStep::kConverting, counters), StatusMark::kInProgress);
  base::Failure failure;
  bool keepFile = false;
  const bool converted =
      ConvertUnit(environment, job_, plan, unit, source_.ReaderPath(), printFile_, failure, keepFile);
  failure.detail = source_.Explain(failure.detail);
  // What was converted is all of the file the job started with, or nothing
  // is sent.
  if (auto changed = SourceChanged(true, kind, counters)) return {UnitEnd::kEndJob, *changed};
  if (!converted) {
    if (!keepFile && work_->OutOfRoom()) {
      // A full TEMP fails any conversion; the file is not to blame, so it
      // stays for the restart once there is room.
      keepFile = true;
      failure.detail += " (TEMP is full: " + work_->Path().parent_path().string() + ")";
    }
    // A whole file shows the bare message; a page or a copy its counters too.
    ShowFailure(kind == WorkUnit::kWholeTiff
                    ? failure.message
                    : JobStatusText(kind, UnitStep::kFailed, counters, failure.message),
                failure.detail);
    Log(failure.message, true);
    Notify(failure.message);
    const int errorPage = kind == WorkUnit::kTiffPage ? unit.page : logging::kWholeFile;
    if (keepFile || !KeepErrorCopy(errorPage, failure)) return {UnitEnd::kEndJob, Stopped(failure)};
    return {UnitEnd::kSkipped, {JobEnd::kFailed, failure}};
  }
  const std::string sending = JobStatusText(kind, UnitStep::kTransferring, counters);
  Show(sending, StatusMark::kInProgress);
  if (!Transfer(sending, failure)) {
    if (Aborted()) return abort();
    ShowFailure(JobStatusText(kind, UnitStep::kFailed, counters, failure.message), failure.detail);
    Log(failure.message, true);
    Notify(failure.message);
    return {UnitEnd::kEndJob, Stopped(failure)};
  }
  Show(JobStatusText(kind, UnitStep::kDone, counters), StatusMark::kDone);
  LogDone();
  return {UnitEnd::kDone, {}};
}

JobOutcome JobRun::RunUnits(const ConversionEnvironment& environment, const JobPlan& plan) {
  // A whole-file job is one print job: it starts over rather than resumes.
  const ResumePoint resume =
      plan.mode == JobMode::kWholeFile
          ? ResumePoint{}
          : ReadResumePoint(context_.program, request_.sourcePath, source_.Stamp().fileTime);
  bool sent = false;
  std::optional<base::Failure> skipped;  // why the last unit that went to the error folder failed
  const auto finished = [&]() -> JobOutcome {
    if (!skipped) return {JobEnd::kPrinted, {}};
    return {sent ? JobEnd::kPartlyFailed : JobEnd::kFailed, *skipped};
  };
  for (int pass = resume.qty + 1; pass <= plan.Passes(); ++pass) {
    for (const PlannedUnit& unit : plan.units) {
      if (plan.mode == JobMode::kPages && pass == resume.qty + 1 && unit.page <= resume.page) continue;
      const UnitEnd end = RunUnit(environment, plan, pass, unit);
      if (end.kind == UnitEnd::kEndJob) return end.job;
      if (end.kind == UnitEnd::kSkipped) {
        skipped = end.job.cause;
        // A plot that cannot be converted will not convert for the next copy
        // either: it has gone to the error folder, so the file goes.
        if (plan.mode == JobMode::kPlot) return DeleteSource(finished());
        continue;
      }
      sent = true;
      if (plan.mode == JobMode::kPages) SaveProgress(pass - 1, unit.page);
      if (plan.mode == JobMode::kWholeFile) SaveProgress(plan.copies, plan.pages);
    }
    if (plan.mode != JobMode::kWholeFile) SaveProgress(pass, 0);
  }
  return DeleteSource(finished());
}

JobOutcome JobRun::Run() {
  job_.folder = request_.folder;
  if (auto stopped = MakeWorkFolder()) return *stopped;
  const ConversionEnvironment environment{settings_, work_->Context(context_.data), context_.trayInformation};
  const JobPlan plan = PlanJob(environment, job_, source_.ReaderPath());
  if (plan.failure) return FailTheFile({plan.failure->message, source_.Explain(plan.failure->detail)});
  return RunUnits(environment, plan);
}

JobOutcome JobRun::Abandon(const std::string& detail) {
  context_.view.AddJobRow(request_.sourcePath, kUnexpectedError, StatusMark::kFailed);
  context_.view.NoteDetail(detail);
  Log(kUnexpectedError, true);
  Notify(kUnexpectedError);
  return Stopped({kUnexpectedError, detail});
}

}  // namespace

JobOutcome RunJob(const JobRequest& request, const WorkerContext& context) {
  const auto unexpected = [](const std::string& detail) { return Stopped({kUnexpectedError, detail}); };
  std::string detail;
  try {
    // Not the file the scan found any more (gone, swapped for a link,
    // changed): nothing to do now; the next scan looks again.
    std::optional<SourceFile> source = SourceFile::Open(request.sourcePath, request.stamp);
    if (!source) return {};
    JobRun run(request, context, *source);
    try {
      return run.Run();
    } catch (const std::exception& e) {
      detail = e.what();
    } catch (...) {
      detail = "an unknown exception";
    }
    detail = "the job ended unexpectedly: " + detail;
    try {
      return run.Abandon(detail);
    } catch (...) {
      return unexpected(detail);
    }
  } catch (...) {
    return unexpected(detail.empty() ? "the job could not start" : detail);
  }
}

}  // namespace orvella::jobs
