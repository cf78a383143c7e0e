#include "jobs/operation.h"

#include <utility>

#include "jobs/start_operation.h"
#include "logging/job_log.h"
#include "settings/program_folders.h"

namespace orvella::jobs {

namespace {

constexpr const char* kStartQuestion = "稼動を開始しますか？";
constexpr const char* kPassedOver = "処理対象外のファイルです";

// The scan's reason as the job log says it.
const char* PassedOverReason(const std::string& reason) {
  if (reason == "symbolic link") return "シンボリックリンク";
  if (reason == "not a regular file") return "通常のファイルではありません";
  if (reason == "several links") return "複数のリンクがあります";
  if (reason == "undeletable") return "削除できません";
  return "読み込めません";
}

}  // namespace

Operation::Operation(std::filesystem::path program, settings::ProcessFolders folders, JobView& view,
                     base::OperatorMessages& messages, TickTimer& timer, OperationHooks hooks)
    : program_(std::move(program)),
      folders_(std::move(folders)),
      view_(view),
      messages_(messages),
      timer_(timer),
      hooks_(std::move(hooks)),
      scanner_(hooks_.scanLog),
      undeletable_(program_),
      tick_(
          control_, view_, memory_, scanner_, [this](const JobRequest& request) { RunWorker(request); },
          hooks_.stopWait) {
  settings::CreateApplicationFolders(program_);
  scanner_.SetUndeletable(&undeletable_);
  tick_.SetPassedOverNotice([this](const ScanSkip& skip) { TellPassedOver(skip); });
}

void Operation::TellPassedOver(const ScanSkip& skip) {
  const std::string message = std::string(kPassedOver) + "(" + PassedOverReason(skip.reason) + ")";
  logging::JobLogFields fields;
  fields.sourcePath = skip.path;
  fields.message = message;
  logging::WriteJobLog(program_, std::nullopt, fields);
  view_.NotePassedOver(skip.path, message, skip.reason);
}

Operation::~Operation() { control_.SetAbort(true); }

std::shared_ptr<const OperationSettings> Operation::Settings() const {
  std::lock_guard lock(settingsMutex_);
  return settings_;
}

bool Operation::StartCommand() {
  // Only a stopped system starts: its worker has ended, so nothing reads what
  // the start replaces.
  if (control_.State() != RunState::kStopped) return false;
  auto loaded = StartOperation(program_, messages_, memory_);
  if (!loaded) {
    view_.SetRunState(RunState::kStopped);
    return false;
  }
  tick_.Configure(loaded->inputs, loaded->hidden.findInterval);
  scanner_.SetQuietSeconds(loaded->hidden.fileQuietSeconds);
  {
    std::lock_guard lock(settingsMutex_);
    settings_ = loaded;
  }
  control_.SetState(RunState::kRunning);
  view_.SetRunState(RunState::kRunning);
  timer_.Arm(kRunningTickMs);
  control_.SetAbort(false);
  // Told once running: a message box waits for the operator, the scan does not.
  for (std::size_t i = 0; i < loaded->inputs.size(); ++i) {
    if (auto notice = InputFolderNotice(i, loaded->inputs[i])) messages_.Notice(*notice);
  }
  return true;
}

void Operation::StopCommand() {
  if (control_.State() == RunState::kStopped) {
    view_.SetRunState(RunState::kStopped);
    return;
  }
  RequestStopOnError(control_, view_);
}

void Operation::CloseCommand() {
  if (control_.State() == RunState::kStopped && messages_.Question(kStartQuestion)) StartCommand();
}

void Operation::ExitCommand(std::function<void()> finish) {
  RequestStopOnError(control_, view_);
  if (exitPending_) return;
  exitPending_ = true;
  finish_ = std::move(finish);
  tick_.SetExitPending([this] {
    if (exited_) return;
    exited_ = true;
    if (finish_) finish_();
  });
  if (control_.State() == RunState::kStopped) timer_.Arm(kStoppedTickMs);
}

std::optional<std::chrono::milliseconds> Operation::Tick() {
  timer_.Cancel();
  const auto next = tick_.Tick();
  if (next) timer_.Arm(*next);
  return next;
}

void Operation::RunWorker(const JobRequest& request) {
  WorkerContext context(program_, Settings(), control_, view_, memory_);
  context.undeletable = &undeletable_;
  context.data = folders_.data;
  context.notices = logging::NetSendBeside(folders_.executable);
  if (hooks_.adjustWorker) hooks_.adjustWorker(context);
  const JobOutcome outcome = hooks_.runJob ? hooks_.runJob(request, context) : RunJob(request, context);
  switch (outcome.end) {
    case JobEnd::kStopped:
      // The file stays until the operator has seen to what stopped it.
      RequestStopOnError(control_, view_);
      break;
    case JobEnd::kNotStarted:
    case JobEnd::kPrinted:
    case JobEnd::kPartlyFailed:
    case JobEnd::kFailed:
    case JobEnd::kAborted:
    case JobEnd::kReplaced:
    case JobEnd::kRemoved:
    case JobEnd::kPassedOver:
      // Shown and logged by the job; the next scan goes on.
      break;
  }
}

}  // namespace orvella::jobs
