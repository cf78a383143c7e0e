#include "sim_log.h"

#include <cstdio>

namespace orvella::sim {

void SimLog::Line(const std::string& text) {
  std::lock_guard lock(mutex_);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace orvella::sim
