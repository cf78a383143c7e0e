#include "app/serve/serve_loop.h"

#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <stdexcept>
#include <string>

namespace orvella::cli {

void PollTimer::Arm(std::chrono::milliseconds delay) { deadline_ = std::chrono::steady_clock::now() + delay; }

int PollTimer::PollTimeoutMs() const {
  if (!deadline_) return -1;
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool PollTimer::Due() const { return deadline_ && std::chrono::steady_clock::now() >= *deadline_; }

base::UniqueFd OpenExitSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  if (::pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0)
    throw std::runtime_error("cannot block SIGINT/SIGTERM");
  base::UniqueFd fd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
  if (!fd) throw std::runtime_error(std::string("signalfd: ") + ::strerror(errno));
  return fd;
}

namespace {

// The signals that arrived since the last call, each a request to exit.
int TakeSignals(int signals) {
  int taken = 0;
  signalfd_siginfo info;
  while (::read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    std::cerr << "orvella serve: " << (info.ssi_signo == SIGINT ? "SIGINT" : "SIGTERM") << ", exiting"
              << std::endl;
    ++taken;
  }
  return taken;
}

}  // namespace

void RunServeLoop(jobs::Operation& operation, PollTimer& timer, int signals) {
  while (!operation.Exited()) {
    pollfd watch{signals, POLLIN, 0};
    const int ready = ::poll(&watch, 1, timer.PollTimeoutMs());
    if (ready < 0 && errno != EINTR) throw std::runtime_error(std::string("poll: ") + ::strerror(errno));
    if (ready > 0 && TakeSignals(signals) > 0) {
      if (operation.ExitPending()) {
        std::cerr << "orvella serve: already exiting; waiting for the running job to end" << std::endl;
      }
      operation.ExitCommand();
    }
    if (timer.Due()) operation.Tick();
  }
}

}  // namespace orvella::cli
