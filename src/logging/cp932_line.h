#pragma once
// A log line as it goes to disk.
#include <string>
#include <string_view>

namespace orvella::logging {

// UTF-8 to CP932 plus CRLF; a character CP932 lacks becomes "?" so the rest
// of the line is kept.
std::string Cp932Line(std::string_view utf8);

}  // namespace orvella::logging
