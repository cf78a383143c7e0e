#pragma once
#include <stdexcept>
#include <string>

namespace orvella::settings {

// Raised by the settings layer; the message is the operator-facing text.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orvella::settings
