#include "app/gui/tick_timer_qt.h"

#include <utility>

namespace orvella::cli {

QtTickTimer::QtTickTimer(std::function<void()> onTick) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

}  // namespace orvella::cli
