#include "support/background_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace orvella::test {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(10);

}  // namespace

BackgroundProcess::BackgroundProcess(const std::string& program, const std::vector<std::string>& args,
                                     const std::filesystem::path& outputFile)
    : outputFile_(outputFile) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const std::string output = outputFile.string();
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // Dies with the test process even when that crashes.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) _exit(127);
    dup2(fd, 1);
    dup2(fd, 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
}

BackgroundProcess::~BackgroundProcess() { Stop(); }

std::optional<int> BackgroundProcess::WaitExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!exitCode_) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || done < 0) {
      exitCode_ = done == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(kPoll);
  }
  return exitCode_;
}

int BackgroundProcess::Stop(std::chrono::milliseconds grace) {
  if (exitCode_) return *exitCode_;
  kill(pid_, SIGTERM);
  if (auto code = WaitExit(grace)) return *code;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  exitCode_ = -1;
  return -1;
}

std::string BackgroundProcess::Output() const {
  std::ifstream in(outputFile_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string BackgroundProcess::WaitForLine(const std::string& prefix,
                                           std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::istringstream lines(Output());
    std::string line;
    while (std::getline(lines, line)) {
      if (line.rfind(prefix, 0) == 0) return line;
    }
    if (std::chrono::steady_clock::now() >= deadline) return {};
    std::this_thread::sleep_for(kPoll);
  }
}

}  // namespace orvella::test
