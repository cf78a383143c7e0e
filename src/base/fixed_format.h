#pragma once
// Fixed-point text for files and wire formats. Printer commands and stored
// values must read "0.707" whatever locale the process runs under, so this
// never goes through printf and the C locale.
#include <string>

namespace orvella::base {

// value with exactly `decimals` digits after a point, rounded as "%.Nf"
// rounds ("%.3f" of 0.7071 is "0.707"); decimals is clamped to 0..17.
std::string FormatFixed(double value, int decimals);

}  // namespace orvella::base
