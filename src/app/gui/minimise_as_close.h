#pragma once
// With a notification icon, the window manager's minimise means closing the
// window: the window leaves the minimised state and the close runs once the
// state change has settled.
#include <functional>

class QEvent;
class QWidget;

namespace orvella::cli {

// For a window's changeEvent.
void TakeMinimiseAsClose(QWidget& window, const QEvent& event, const std::function<void()>& close);

}  // namespace orvella::cli
