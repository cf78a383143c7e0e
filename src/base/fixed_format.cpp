#include "base/fixed_format.h"

#include <algorithm>
#include <charconv>

namespace orvella::base {

std::string FormatFixed(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 17);
  // 1e308 in fixed form has 309 digits; the fraction adds at most 18 more.
  char buf[340];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  return std::string(buf, res.ptr);
}

}  // namespace orvella::base
