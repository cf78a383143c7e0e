#pragma once
// Message boxes titled "Orvella", for the core and for the windows. Tests
// answer them through a subclass.
#include <string>

namespace orvella::cli {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A warning the operator acknowledges.
  virtual void Warning(const std::string& text);
  // Yes/No; true for yes.
  virtual bool Question(const std::string& text);
  // A note the operator acknowledges.
  virtual void Information(const std::string& text);
  // The version dialog: one OK button.
  virtual void About(const std::string& title, const std::string& text);
};

}  // namespace orvella::cli
