#pragma once
// How a job-level operation reports that it failed: alongside its false
// result, the operator's message and the real cause behind it.
#include <string>

namespace orvella::base {

struct Failure {
  std::string message;  // the operator's text, exactly as the job log and job window show it
  std::string detail;   // plain English: the real cause, the library's own text where there is one
};

}  // namespace orvella::base
