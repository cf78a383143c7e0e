#include "app/gui/gui_thread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace orvella::cli {

WindowThreadGate::WindowThreadGate(QObject& context) : context_(context) {}

void WindowThreadGate::Run(const std::function<void()>& fn) {
  if (QThread::currentThread() == context_.thread()) {
    fn();
    return;
  }
  // Like a blocking queued call, but a caller can be let go when the window
  // thread is about to wait for it (a worker ending at shutdown).
  auto done = std::make_shared<bool>(false);
  {
    std::lock_guard lock(state_->mutex);
    if (state_->closed) return;
  }
  QMetaObject::invokeMethod(
      &context_,
      [state = state_, done, &fn] {
        // Close() runs on this thread too, so closed cannot change under us;
        // once closed the caller may be gone, and fn with it.
        if (state->closed) return;
        fn();
        std::lock_guard lock(state->mutex);
        *done = true;
        state->changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(state_->mutex);
  state_->changed.wait(lock, [&] { return *done || state_->closed; });
}

void WindowThreadGate::Close() {
  std::lock_guard lock(state_->mutex);
  state_->closed = true;
  state_->changed.notify_all();
}

}  // namespace orvella::cli
