#pragma once
#include <stdexcept>

namespace orvella::base {

// Raised by the file helpers of this layer; the message is the operator-facing text.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orvella::base
