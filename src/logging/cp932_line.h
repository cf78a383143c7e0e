#pragma once
// A log line as it goes to disk.
#include <string>
#include <string_view>

namespace orvella::logging {

// UTF-8 to CP932; a character CP932 lacks becomes "?" so the rest of the
// text is kept.
std::string Cp932Text(std::string_view utf8);

// Cp932Text plus CRLF.
std::string Cp932Line(std::string_view utf8);

}  // namespace orvella::logging
