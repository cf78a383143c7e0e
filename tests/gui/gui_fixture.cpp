#include "gui/gui_fixture.h"

#include <QThread>

#include "base/text_codec.h"
#include "support/process_setup.h"

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

int CountInJobLogs(const std::filesystem::path& program, const std::string& text) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(program / "LOG", error)) {
    const std::string log = base::Cp932ToUtf8(orvella::test::ReadFileBytes(entry.path()));
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
  }
  return count;
}

ShellFixture::ShellFixture() = default;

void ShellFixture::WriteStartableSettings() {
  home.WriteIni("INPUT.INI",
                "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"" + hot.Path().string() + "\"\n");
}

std::unique_ptr<Shell> ShellFixture::MakeShell(bool trayHost, std::chrono::milliseconds stopWait) {
  jobs::OperationHooks hooks;
  hooks.stopWait = stopWait;
  return std::make_unique<Shell>(home.Path(), orvella::test::ProcessFolders(), messages, trayHost,
                                 std::move(hooks));
}

}  // namespace orvella::cli::test
