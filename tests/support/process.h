#pragma once
// Runs the project's binaries from tests: argv only, never a shell.
#include <string>
#include <vector>

namespace orvella::test {

struct ProcessResult {
  int exitCode = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs program with args, waits at most timeoutSeconds (then kills it).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         int timeoutSeconds = 60);

// Path of a binary built by this project (bin/ of the build folder).
std::string BinaryPath(const std::string& name);

}  // namespace orvella::test
