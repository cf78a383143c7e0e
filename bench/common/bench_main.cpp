#include "common/bench_main.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The running program, for the child steps to start it again.
std::string SelfPath() {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  return n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  const orvella::bench::BenchProgram& program = orvella::bench::kProgram;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "run" && (args.size() == 3 || args.size() == 4)) {
    orvella::bench::RunArgs run{SelfPath(), args[1], args[2]};
    if (run.self.empty()) return 1;
    if (args.size() == 4) run.repeats = std::max(1, std::atoi(args[3].c_str()));
    return program.run(run);
  }
  if (program.step && !args.empty() && args[0] == program.step && args.size() == 1 + program.stepArgCount)
    return program.runStep({args.begin() + 1, args.end()});
  std::fprintf(stderr, "usage: %s run PAGES OUTDIR [REPEATS]\n", program.name);
  if (program.step) std::fprintf(stderr, "       %s %s %s\n", program.name, program.step, program.stepUsage);
  return 2;
}
