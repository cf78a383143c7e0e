#include "gui/gui_fixture.h"

#include <QThread>
#include <thread>

#include "app/gui/operation_commands.h"

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
  const auto program = home.Path();
  return std::make_unique<Shell>(
      program, messages,
      [program](jobs::JobView& view, MessageBoxes& boxes, QtTickTimer& timer) {
        return MakeOperationCommands(program, view, boxes, timer);
      },
      trayHost);
}

}  // namespace orvella::cli::test
