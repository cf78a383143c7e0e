#pragma once
// A program run in the background for the length of a test (a simulated
// printer, an FTP server). Its stdout and stderr go to a file, so it never
// blocks on a full pipe. The destructor stops it: SIGTERM, a bounded wait,
// then SIGKILL, so no test leaves a process behind.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvella::test {

class BackgroundProcess {
 public:
  BackgroundProcess(const std::string& program, const std::vector<std::string>& args,
                    const std::filesystem::path& outputFile);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  // SIGTERM, then SIGKILL after grace; the exit code, or -1 when it did not exit normally.
  int Stop(std::chrono::milliseconds grace = std::chrono::seconds(3));
  // The exit code once the process has exited by itself within timeout, else nothing.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout);
  // The first output line starting with prefix, waiting at most timeout; empty when none came.
  std::string WaitForLine(const std::string& prefix, std::chrono::milliseconds timeout) const;
  std::string Output() const;
  pid_t Pid() const { return pid_; }

 private:
  std::filesystem::path outputFile_;
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};

}  // namespace orvella::test
