#include "app/serve/loop_commands.h"

#include <string.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace orvella::cli {

void CapturedMessages::Warning(const std::string& text) {
  shown_.Warning(text);
  Capture(text);
}

void CapturedMessages::Notice(const base::Failure& notice) {
  shown_.Notice(notice);
  Capture(notice.message);
}

void CapturedMessages::Capture(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (capturing_) captured_.push_back(text);
}

void CapturedMessages::BeginCapture() {
  std::lock_guard lock(mutex_);
  capturing_ = true;
  captured_.clear();
}

std::vector<std::string> CapturedMessages::EndCapture() {
  std::lock_guard lock(mutex_);
  capturing_ = false;
  return std::move(captured_);
}

web::RunCommandResult CarryOutRunCommand(jobs::Operation& operation, CapturedMessages& messages,
                                         web::RunCommand command) {
  web::RunCommandResult result;
  if (operation.ExitPending()) {
    result.refused = true;
    result.detail = "the service is exiting";
  } else if (command == web::RunCommand::kStop) {
    operation.StopCommand();
  } else if (operation.State() != jobs::RunState::kStopped) {
    // The tray's start is disabled in every other state.
    result.refused = true;
    result.detail =
        std::string("operation is ") + jobs::RunStateText(operation.State()) + "; a start needs it stopped";
  } else {
    messages.BeginCapture();
    result.started = operation.StartCommand();
    result.messages = messages.EndCapture();
  }
  result.state = operation.State();
  return result;
}

LoopCommands::LoopCommands(CarryOut carryOut)
    : carryOut_(std::move(carryOut)), fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!fd_) throw std::runtime_error(std::string("eventfd: ") + ::strerror(errno));
}

std::optional<web::RunCommandResult> LoopCommands::Submit(web::RunCommand command,
                                                          std::chrono::milliseconds timeout) {
  auto pending = std::make_shared<Pending>();
  pending->command = command;
  auto answer = pending->result.get_future();
  {
    std::lock_guard lock(mutex_);
    if (closed_) return std::nullopt;
    queue_.push_back(pending);
  }
  const std::uint64_t one = 1;
  if (::write(fd_.Get(), &one, sizeof one) == static_cast<ssize_t>(sizeof one) &&
      answer.wait_for(timeout) == std::future_status::ready) {
    return answer.get();
  }
  // The page tells the operator it went unanswered: it must not happen later.
  {
    std::lock_guard lock(mutex_);
    if (std::erase(queue_, pending) > 0) return std::nullopt;
  }
  // The loop took it as the time ran out and is carrying it out now.
  if (answer.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready) return answer.get();
  return std::nullopt;
}

void LoopCommands::RunPending() {
  std::uint64_t count = 0;
  (void)!::read(fd_.Get(), &count, sizeof count);
  for (;;) {
    std::shared_ptr<Pending> next;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return;
      next = std::move(queue_.front());
      queue_.pop_front();
    }
    next->result.set_value(carryOut_(next->command));
  }
}

void LoopCommands::Close() {
  std::deque<std::shared_ptr<Pending>> left;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    left.swap(queue_);
  }
  for (const auto& pending : left) pending->result.set_value(std::nullopt);
}

}  // namespace orvella::cli
