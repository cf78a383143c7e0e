#pragma once
// The single-shot timer that drives the core's tick, on the window thread.
#include <QTimer>
#include <chrono>
#include <functional>

#include "jobs/operation.h"

namespace orvella::cli {

class QtTickTimer : public jobs::TickTimer {
 public:
  explicit QtTickTimer(std::function<void()> onTick);
  void Arm(std::chrono::milliseconds delay) override { timer_.start(delay); }
  void Cancel() override { timer_.stop(); }

 private:
  QTimer timer_;
};

}  // namespace orvella::cli
