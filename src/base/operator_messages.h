#pragma once
// Message boxes titled "Orvella" as the core asks for them; the GUI shows
// them, the headless service writes warnings to stderr.
#include <string>

#include "base/failure.h"

namespace orvella::base {

class OperatorMessages {
 public:
  virtual ~OperatorMessages() = default;
  // A warning the operator acknowledges.
  virtual void Warning(const std::string& text) = 0;
  // A warning about something that stops nothing, with its plain-English
  // cause for views that have room for it; the message box shows the message.
  virtual void Notice(const base::Failure& notice) { Warning(notice.message); }
  // A yes/no question; true for yes.
  virtual bool Question(const std::string& text) = 0;
};

}  // namespace orvella::base
