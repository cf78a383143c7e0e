#pragma once
// The single-shot timer that drives the core's tick, on the window thread.
#include <QTimer>
#include <chrono>
#include <functional>

namespace orvella::cli {

class QtTickTimer {
 public:
  explicit QtTickTimer(std::function<void()> onTick);
  // Fires once after delay; replaces an earlier arming.
  void Arm(std::chrono::milliseconds delay) { timer_.start(delay); }
  void Cancel() { timer_.stop(); }
  bool Armed() const { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace orvella::cli
