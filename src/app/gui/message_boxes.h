#pragma once
// Message boxes titled "Orvella", for the core, the windows and the settings
// dialogs. Tests answer them through a subclass.
#include <string>

#include "dialogs/dialog_messages.h"

namespace orvella::cli {

class MessageBoxes : public dialogs::DialogMessages {
 public:
  void Warning(const std::string& text) override;
  // Yes/No; true for yes.
  bool Question(const std::string& text) override;
  // A note the operator acknowledges.
  void Information(const std::string& text) override;
  // The version dialog: one OK button.
  virtual void About(const std::string& title, const std::string& text);
};

}  // namespace orvella::cli
