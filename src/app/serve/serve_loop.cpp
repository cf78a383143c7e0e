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

base::UniqueFd OpenServeSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  if (::pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0)
    throw std::runtime_error("cannot block SIGINT/SIGTERM/SIGHUP");
  base::UniqueFd fd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
  if (!fd) throw std::runtime_error(std::string("signalfd: ") + ::strerror(errno));
  return fd;
}

namespace {

struct Requests {
  bool exit = false;
  bool start = false;
};

// What the signals that arrived since the last call ask for.
Requests TakeSignals(int signals) {
  Requests requests;
  signalfd_siginfo info;
  while (::read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    if (info.ssi_signo == SIGHUP) {
      std::cerr << "orvella serve: SIGHUP, starting operation" << std::endl;
      requests.start = true;
      continue;
    }
    std::cerr << "orvella serve: " << (info.ssi_signo == SIGINT ? "SIGINT" : "SIGTERM") << ", exiting"
              << std::endl;
    requests.exit = true;
  }
  return requests;
}

}  // namespace

void RunServeLoop(jobs::Operation& operation, PollTimer& timer, int signals, LoopCommands* commands) {
  while (!operation.Exited()) {
    pollfd watch[2]{{signals, POLLIN, 0}, {commands ? commands->Fd() : -1, POLLIN, 0}};
    const int ready = ::poll(watch, 2, timer.PollTimeoutMs());
    if (ready < 0 && errno != EINTR) throw std::runtime_error(std::string("poll: ") + ::strerror(errno));
    if (ready > 0 && (watch[1].revents & POLLIN)) commands->RunPending();
    const Requests requests = ready > 0 && (watch[0].revents & POLLIN) ? TakeSignals(signals) : Requests{};
    if (requests.exit) {
      if (operation.ExitPending()) {
        std::cerr << "orvella serve: already exiting; waiting for the running job to end" << std::endl;
      }
      operation.ExitCommand();
    } else if (requests.start && !operation.ExitPending()) {
      if (operation.State() == jobs::RunState::kStopped) {
        operation.StartCommand();
      } else {
        std::cerr << "orvella serve: operation is " << jobs::RunStateText(operation.State())
                  << "; a start needs it stopped" << std::endl;
      }
    }
    if (timer.Due()) operation.Tick();
  }
}

}  // namespace orvella::cli
