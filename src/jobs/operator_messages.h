#pragma once
// Message boxes titled "Orvella" as the core asks for them; the GUI shows
// them, the headless service writes warnings to stderr.
#include <string>

namespace orvella::jobs {

class OperatorMessages {
 public:
  virtual ~OperatorMessages() = default;
  // A warning the operator acknowledges.
  virtual void Warning(const std::string& text) = 0;
  // A yes/no question; true for yes.
  virtual bool Question(const std::string& text) = 0;
};

}  // namespace orvella::jobs
