#include "jobs/job_worker.h"

#include <exception>
#include <optional>
#include <string>
#include <system_error>

#include "imaging/convert_tiff.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_result.h"
#include "jobs/input_file_type.h"
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

constexpr const char* kReadError = "ファイル読み込みエラー";
constexpr const char* kUnsupportedFile = "未対応ファイル";
constexpr const char* kPageSizeError = "TIFFファイル画像サイズ取得エラー";
// Shown when a job ends in a way no rule foresees; the system stops and the
// file stays for the operator.
constexpr const char* kUnexpectedError = "ジョブ処理エラー";
// The source's name no longer names the file the job started with.
constexpr const char* kSourceReplaced = "処理中にファイルが置き換えられました";
constexpr const char* kSourceRemoved = "処理中にファイルが削除されました";

std::string TiffDetail(int code, const std::string& detail, const SourceFile& source) {
  return std::string(imaging::ResultText(code)) + (detail.empty() ? "" : ": " + source.Explain(detail));
}

// How a unit ended.
enum class UnitEnd { kDone, kSkipped, kEndJob };

class JobRun {
 public:
  JobRun(const JobRequest& request, const WorkerContext& context, SourceFile& source)
      : request_(request), context_(context), settings_(*context.settings), source_(source) {}

  int Run();
  // After an exception: the row, the log and the stop, file kept.
  void Abandon(const std::string& detail);

 private:
  int RunTiff();
  int RunWholeFile(int pages);
  int RunPages(int pages, const ResumePoint& resume);
  int RunPlot(const ResumePoint& resume);
  // One unit: abort check, conversion, transfer, done. convert returns false
  // with failure and keepFile set as the conversion left them.
  template <typename Convert>
  UnitEnd RunUnit(WorkUnit unit, const UnitCounters& counters, int errorPage, Convert convert);

  int FailTheFile(const std::string& message, const std::string& detail);
  int DeleteSource();
  // Whether the source still is the file the job started with; when it is
  // not, the job's end is shown (in the unit's row once it has one) and
  // logged, and its resume record goes: the new file is a job of its own.
  bool SourceUnchanged(bool unitRowShown, WorkUnit unit = WorkUnit::kWholeTiff,
                       const UnitCounters& counters = {});
  void EndForSource(SourceState state, bool unitRowShown, WorkUnit unit, const UnitCounters& counters);
  // The resume record of this file goes; a failure is only noted.
  void ForgetProgress();
  bool Transfer(const std::string& prefix, base::Failure& failure);
  bool MakeWorkFolder();

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
  void Stop() { RequestStopOnError(context_.control, context_.view); }
  bool Aborted() const { return context_.control.AbortRequested(); }
  void SaveProgress(int qty, int page);
  // The error folder copy; false (system stopped, file kept) when it could
  // not be made, so a failed file is never deleted without its copy.
  bool KeepErrorCopy(int page, const std::string& message, const std::string& detail);

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

bool JobRun::KeepErrorCopy(int page, const std::string& message, const std::string& detail) {
  if (logging::WriteErrorRecord(context_.program, page, request_.sourcePath, message,
                                {source_.ReaderPath(), detail})) {
    return true;
  }
  context_.view.NoteDetail("the file was not copied to the error folder, so it stays in its input folder");
  Stop();
  return false;
}

bool JobRun::MakeWorkFolder() {
  std::string detail;
  if (auto made = settings::WorkFolder::Create(context_.program, detail)) {
    work_.emplace(std::move(*made));
    printFile_ = work_->Path() / "sendfile.prn";
    return true;
  }
  // Nothing is wrong with the file: keep it and stop until the operator
  // has made room.
  context_.view.AddJobRow(request_.sourcePath, settings::kWorkFolderError, StatusMark::kFailed);
  context_.view.NoteDetail(detail);
  Log(settings::kWorkFolderError, false);
  Notify(settings::kWorkFolderError);
  Stop();
  return false;
}

int JobRun::FailTheFile(const std::string& message, const std::string& detail) {
  context_.view.AddJobRow(request_.sourcePath, message, StatusMark::kFailed);
  if (!detail.empty()) context_.view.NoteDetail(detail);
  Log(message, false);
  Notify(message);
  if (!KeepErrorCopy(logging::kWholeFile, message, detail)) return 0;
  return DeleteSource();
}

void JobRun::ForgetProgress() {
  base::Failure failure;
  if (!ClearResumePointOf(context_.program, request_.sourcePath, failure))
    context_.view.NoteDetail(failure.detail);
}

int JobRun::DeleteSource() {
  SourceState state = SourceState::kSame;
  std::string detail;
  switch (source_.Remove(state, detail)) {
    case RemoveOutcome::kRemoved:
      ForgetProgress();
      return 1;
    case RemoveOutcome::kNotThisFile:
      // Everything of the file the job started with is done; a new file under
      // its name is a job of its own, and a removed one needs nothing more.
      if (state == SourceState::kReplaced) {
        EndForSource(state, false, WorkUnit::kWholeTiff, {});
      } else {
        ForgetProgress();
      }
      return 0;
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
  ShowFailure(kDeleteFailedText, detail + "; the file is passed over until it changes or is removed");
  Log(kDeleteFailedText, true);
  Notify(kDeleteFailedText);
  return 0;
}

bool JobRun::SourceUnchanged(bool unitRowShown, WorkUnit unit, const UnitCounters& counters) {
  const SourceState state = source_.Check();
  if (state == SourceState::kSame) return true;
  EndForSource(state, unitRowShown, unit, counters);
  return false;
}

void JobRun::EndForSource(SourceState state, bool unitRowShown, WorkUnit unit, const UnitCounters& counters) {
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

template <typename Convert>
UnitEnd JobRun::RunUnit(WorkUnit unit, const UnitCounters& counters, int errorPage, Convert convert) {
  if (!SourceUnchanged(false)) return UnitEnd::kEndJob;
  context_.view.AddJobRow(request_.sourcePath, JobStatusText(unit, UnitStep::kAdded, counters),
                          StatusMark::kInProgress);
  const std::string aborted = JobStatusText(unit, UnitStep::kAborted, counters);
  if (Aborted()) {
    Show(aborted, StatusMark::kFailed);
    Log(aborted, true);
    return UnitEnd::kEndJob;
  }
  Show(JobStatusText(unit, UnitStep::kConverting, counters), StatusMark::kInProgress);
  base::Failure failure;
  bool keepFile = false;
  const bool converted = convert(failure, keepFile);
  failure.detail = source_.Explain(failure.detail);
  // What was converted is all of the file the job started with, or nothing
  // is sent.
  if (!SourceUnchanged(true, unit, counters)) return UnitEnd::kEndJob;
  if (!converted) {
    if (!keepFile && work_->OutOfRoom()) {
      // A full TEMP fails any conversion; the file is not to blame, so it
      // stays for the restart once there is room.
      keepFile = true;
      failure.detail += " (TEMP is full: " + work_->Path().parent_path().string() + ")";
    }
    // A whole file shows the bare message; a page or a copy its counters too.
    ShowFailure(unit == WorkUnit::kWholeTiff
                    ? failure.message
                    : JobStatusText(unit, UnitStep::kFailed, counters, failure.message),
                failure.detail);
    Log(failure.message, true);
    Notify(failure.message);
    if (keepFile) {
      Stop();
      return UnitEnd::kEndJob;
    }
    if (!KeepErrorCopy(errorPage, failure.message, failure.detail)) return UnitEnd::kEndJob;
    return UnitEnd::kSkipped;
  }
  const std::string sending = JobStatusText(unit, UnitStep::kTransferring, counters);
  Show(sending, StatusMark::kInProgress);
  if (!Transfer(sending, failure)) {
    if (Aborted()) {
      Show(aborted, StatusMark::kFailed);
      Log(aborted, true);
    } else {
      ShowFailure(JobStatusText(unit, UnitStep::kFailed, counters, failure.message), failure.detail);
      Log(failure.message, true);
      Notify(failure.message);
      Stop();
    }
    return UnitEnd::kEndJob;
  }
  Show(JobStatusText(unit, UnitStep::kDone, counters), StatusMark::kDone);
  LogDone();
  return UnitEnd::kDone;
}

int JobRun::RunWholeFile(int pages) {
  const UnitCounters counters{1, job_.folder.quantity, 1, pages};
  const ConversionEnvironment environment{settings_, work_->Context(context_.data), context_.trayInformation};
  const UnitEnd end = RunUnit(WorkUnit::kWholeTiff, counters, logging::kWholeFile,
                              [&](base::Failure& failure, bool& keepFile) {
                                return ConvertWholeFile(environment, job_, source_.ReaderPath(), printFile_,
                                                        pages, failure, keepFile);
                              });
  if (end == UnitEnd::kEndJob) return 0;
  if (end == UnitEnd::kDone) SaveProgress(job_.folder.quantity, pages);
  return DeleteSource();
}

int JobRun::RunPages(int pages, const ResumePoint& resume) {
  const int copies = job_.folder.quantity;
  const ConversionEnvironment environment{settings_, work_->Context(context_.data), context_.trayInformation};
  for (int c = resume.qty + 1; c <= copies; ++c) {
    for (int p = c == resume.qty + 1 ? resume.page + 1 : 1; p <= pages; ++p) {
      const UnitEnd end =
          RunUnit(WorkUnit::kTiffPage, {c, copies, p, pages}, p, [&](base::Failure& failure, bool& keepFile) {
            return ConvertPage(environment, job_, source_.ReaderPath(), p - 1, printFile_, failure, keepFile);
          });
      if (end == UnitEnd::kEndJob) return 0;
      if (end == UnitEnd::kDone) SaveProgress(c - 1, p);
    }
    SaveProgress(c, 0);
  }
  return DeleteSource();
}

int JobRun::RunPlot(const ResumePoint& resume) {
  const int copies = job_.folder.quantity;
  const ConversionEnvironment environment{settings_, work_->Context(context_.data), context_.trayInformation};
  for (int c = resume.qty + 1; c <= copies; ++c) {
    const UnitEnd end =
        RunUnit(WorkUnit::kHpglCopy, {c, copies, 1, 1}, logging::kWholeFile,
                [&](base::Failure& failure, bool& keepFile) {
                  return ConvertPlot(environment, job_, source_.ReaderPath(), printFile_, failure, keepFile);
                });
    if (end == UnitEnd::kEndJob) return 0;
    // A plot that cannot be converted will not convert for the next copy
    // either: it has gone to the error folder, so the file goes.
    if (end == UnitEnd::kSkipped) return DeleteSource();
    SaveProgress(c, 0);
  }
  return DeleteSource();
}

int JobRun::RunTiff() {
  int pages = 0;
  std::string detail;
  if (const int code = imaging::CountPages(source_.ReaderPath(), pages, &detail); code != imaging::kTiffOk) {
    return FailTheFile(imaging::kPageCountError, TiffDetail(code, detail, source_));
  }
  double width = 0, length = 0;
  if (const int code = imaging::ReadPageSizeMm(source_.ReaderPath(), 0, width, length, &detail);
      code != imaging::kTiffOk) {
    return FailTheFile(kPageSizeError, TiffDetail(code, detail, source_));
  }
  const ConversionEnvironment environment{settings_, work_->Context(context_.data), context_.trayInformation};
  if (IsWholeFileJob(environment, job_, width, length, pages)) return RunWholeFile(pages);
  return RunPages(pages, ReadResumePoint(context_.program, request_.sourcePath, source_.Stamp().fileTime));
}

int JobRun::Run() {
  job_.folder = request_.folder;
  if (!MakeWorkFolder()) return 0;
  InputFileType type = InputFileType::kUnsupported;
  if (!DetectInputFileType(source_.ReaderPath(), type, settings_.hidden.enableUnsupportedGl)) {
    return FailTheFile(kReadError, "the file could not be read");
  }
  if (type == InputFileType::kUnsupported) {
    return FailTheFile(kUnsupportedFile, "neither a TIFF file nor HP-GL/2 in a PJL envelope");
  }
  if (type == InputFileType::kHpgl2)
    return RunPlot(ReadResumePoint(context_.program, request_.sourcePath, source_.Stamp().fileTime));
  return RunTiff();
}

void JobRun::Abandon(const std::string& detail) {
  context_.view.AddJobRow(request_.sourcePath, kUnexpectedError, StatusMark::kFailed);
  context_.view.NoteDetail(detail);
  Log(kUnexpectedError, true);
  Notify(kUnexpectedError);
  Stop();
}

}  // namespace

int RunJob(const JobRequest& request, const WorkerContext& context) {
  std::string detail;
  try {
    // Not the file the scan found any more (gone, swapped for a link,
    // changed): nothing to do now; the next scan looks again.
    std::optional<SourceFile> source = SourceFile::Open(request.sourcePath, request.stamp);
    if (!source) return 0;
    JobRun run(request, context, *source);
    try {
      return run.Run();
    } catch (const std::exception& e) {
      detail = e.what();
    } catch (...) {
      detail = "an unknown exception";
    }
    try {
      run.Abandon("the job ended unexpectedly: " + detail);
    } catch (...) {
      RequestStopOnError(context.control, context.view);
    }
  } catch (...) {
    RequestStopOnError(context.control, context.view);
  }
  return 0;
}

}  // namespace orvella::jobs
