#pragma once
// One line per event on stdout, whole lines only, flushed at once so a test
// reading the output sees each request as it happens.
#include <mutex>
#include <string>

namespace orvella::sim {

class SimLog {
 public:
  void Line(const std::string& text);

 private:
  std::mutex mutex_;
};

}  // namespace orvella::sim
