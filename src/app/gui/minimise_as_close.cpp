#include "app/gui/minimise_as_close.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace orvella::cli {

void TakeMinimiseAsClose(QWidget& window, const QEvent& event, const std::function<void()>& close) {
  if (event.type() != QEvent::WindowStateChange || !window.isMinimized()) return;
  QTimer::singleShot(0, &window, [target = QPointer<QWidget>(&window), close] {
    if (!target || !target->isMinimized()) return;
    target->setWindowState(target->windowState() & ~Qt::WindowMinimized);
    close();
  });
}

}  // namespace orvella::cli
