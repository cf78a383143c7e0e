#pragma once
// Message boxes titled "Orvella" as the dialogs ask for them. Tests answer
// them through a subclass.
#include <string>

#include "base/operator_messages.h"

namespace orvella::dialogs {

// Between a box's message and its plain-English cause.
inline constexpr const char* kDetailHeading = "\n【詳細】\n";

class DialogMessages : public base::OperatorMessages {
 public:
  // A note the operator acknowledges.
  virtual void Information(const std::string& text) = 0;
};

// QMessageBox over the active window.
class MessageBoxMessages : public DialogMessages {
 public:
  void Warning(const std::string& text) override;
  bool Question(const std::string& text) override;
  void Information(const std::string& text) override;
};

}  // namespace orvella::dialogs
