#include "gui/gui_fixture.h"

#include <QThread>

namespace orvella::cli::test {

bool ServeEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

ShellFixture::ShellFixture() = default;

void ShellFixture::WriteStartableSettings() {
  home.WriteIni("INPUT.INI",
                "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"" + hot.Path().string() + "\"\n");
}

std::unique_ptr<Shell> ShellFixture::MakeShell(bool trayHost) {
  jobs::OperationHooks hooks;
  hooks.stopWait = std::chrono::milliseconds(0);
  return std::make_unique<Shell>(home.Path(), messages, trayHost, std::move(hooks));
}

}  // namespace orvella::cli::test
