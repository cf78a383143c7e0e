#include "logging/cp932_line.h"

#include <algorithm>
#include <optional>

#include "base/text_codec.h"

namespace orvella::logging {
namespace {

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string Cp932Text(std::string_view utf8) {
  if (std::optional<std::string> whole = base::Utf8ToCp932(utf8)) return std::move(*whole);
  std::string text;
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const std::optional<std::string> one = base::Utf8ToCp932(utf8.substr(i, n));
    text += one ? *one : std::string("?");
    i += n;
  }
  return text;
}

std::string Cp932Line(std::string_view utf8) { return Cp932Text(utf8) + "\r\n"; }

}  // namespace orvella::logging
