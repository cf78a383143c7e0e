#pragma once
// Runs a benchmark step as a child process and reads its CPU time and peak
// RSS from the kernel, so every figure is measured the same way as tiffcp.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace orvella::bench {

struct Measure {
  double cpuSeconds = 0;
  double peakRssMb = 0;
  bool ok = false;
};

inline Measure RunChild(const std::vector<std::string>& argv) {
  Measure m;
  const pid_t pid = fork();
  if (pid < 0) return m;
  if (pid == 0) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return m;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  m.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  m.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return m;
}

// The fastest of the repeats; its peak RSS is the smallest too (it varies little).
inline Measure Best(const std::vector<std::string>& argv, int repeats) {
  Measure best;
  for (int i = 0; i < repeats; ++i) {
    const Measure m = RunChild(argv);
    if (!m.ok) return m;
    if (!best.ok || m.cpuSeconds < best.cpuSeconds) best.cpuSeconds = m.cpuSeconds;
    if (!best.ok || m.peakRssMb < best.peakRssMb) best.peakRssMb = m.peakRssMb;
    best.ok = true;
  }
  return best;
}

}  // namespace orvella::bench
