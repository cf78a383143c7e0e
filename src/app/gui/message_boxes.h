#pragma once
// Message boxes titled "Orvella", for the core and for the windows. Tests
// answer them through a subclass.
#include <string>

#include "jobs/operator_messages.h"

namespace orvella::cli {

class MessageBoxes : public jobs::OperatorMessages {
 public:
  void Warning(const std::string& text) override;
  // Yes/No; true for yes.
  bool Question(const std::string& text) override;
  // A note the operator acknowledges.
  virtual void Information(const std::string& text);
  // The version dialog: one OK button.
  virtual void About(const std::string& title, const std::string& text);
};

}  // namespace orvella::cli
