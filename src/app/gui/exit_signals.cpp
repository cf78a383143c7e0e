#include "app/gui/exit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace orvella::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int writeEnd = -1;

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
  errno = saved;
}

}  // namespace

ExitSignals::ExitSignals() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  }
  read_ = base::UniqueFd(fds[0]);
  writeEnd = fds[1];
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
  notifier_ = std::make_unique<QSocketNotifier>(read_.Get(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    unsigned char byte = 0;
    bool any = false;
    while (::read(read_.Get(), &byte, 1) == 1) any = true;
    if (any) emit ExitRequested();
  });
}

ExitSignals::~ExitSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
  ::close(writeEnd);
  writeEnd = -1;
}

}  // namespace orvella::cli
