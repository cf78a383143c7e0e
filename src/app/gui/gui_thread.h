#pragma once
// Runs work on the window thread and waits for it, so that calls from the
// worker reach the windows in order and before the worker goes on.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace orvella::cli {

class WindowThreadGate {
 public:
  // context: an object living on the window thread.
  explicit WindowThreadGate(QObject& context);

  // On the window thread fn runs at once (waiting there would never end);
  // from another thread it is queued there and the caller blocks until it
  // has run. After Close() other threads' calls return without running.
  void Run(const std::function<void()>& fn);
  // On the window thread, before the window thread stops serving events
  // while a worker may still call in: releases every waiting caller.
  void Close();

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
  };

  QObject& context_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace orvella::cli
