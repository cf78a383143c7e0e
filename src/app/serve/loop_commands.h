#pragma once
// Start and stop from the status page, handed to the service's loop: the
// operation is driven by that thread alone. A web thread queues the command,
// wakes the loop through an eventfd and waits, bounded, for what the command
// did, the message boxes it showed included.
#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/web/web_server.h"
#include "base/unique_fd.h"
#include "jobs/operation.h"

namespace orvella::cli {

// The service's message boxes, which the journal shows; while a command from
// the page runs, its warnings are also kept for the page's answer.
class CapturedMessages : public base::OperatorMessages {
 public:
  explicit CapturedMessages(base::OperatorMessages& shown) : shown_(shown) {}
  void Warning(const std::string& text) override;
  void Notice(const base::Failure& notice) override;
  bool Question(const std::string& text) override { return shown_.Question(text); }
  void BeginCapture();
  std::vector<std::string> EndCapture();

 private:
  void Capture(const std::string& text);

  base::OperatorMessages& shown_;
  std::mutex mutex_;
  bool capturing_ = false;
  std::vector<std::string> captured_;
};

// What the tray's start and stop do, carried out on the loop thread.
web::RunCommandResult CarryOutRunCommand(jobs::Operation& operation, CapturedMessages& messages,
                                         web::RunCommand command);

class LoopCommands {
 public:
  using CarryOut = std::function<web::RunCommandResult(web::RunCommand)>;
  explicit LoopCommands(CarryOut carryOut);

  // Readable when commands wait.
  int Fd() const { return fd_.Get(); }
  // From any thread: nullopt when the loop has not carried it out within
  // timeout, or no longer takes commands. A command the loop has not taken up
  // by then is dropped, never carried out later.
  std::optional<web::RunCommandResult> Submit(web::RunCommand command, std::chrono::milliseconds timeout);
  // On the loop thread: carries out every waiting command.
  void RunPending();
  // The loop has ended: waiting and later commands get nullopt.
  void Close();

 private:
  struct Pending {
    web::RunCommand command;
    std::promise<std::optional<web::RunCommandResult>> result;
  };

  CarryOut carryOut_;
  base::UniqueFd fd_;
  std::mutex mutex_;
  std::deque<std::shared_ptr<Pending>> queue_;
  bool closed_ = false;
};

}  // namespace orvella::cli
