#include "ber.h"

namespace orvella::sim::ber {

bool Read(std::string_view& input, Tlv& out) {
  if (input.size() < 2) return false;
  const auto tag = static_cast<std::uint8_t>(input[0]);
  if ((tag & 0x1F) == 0x1F) return false;  // multi-byte tags never occur here
  std::size_t length = static_cast<std::uint8_t>(input[1]);
  std::size_t header = 2;
  if (length & 0x80) {
    const std::size_t count = length & 0x7F;
    if (count == 0 || count > 4 || input.size() < 2 + count) return false;  // indefinite or absurd
    length = 0;
    for (std::size_t i = 0; i < count; ++i) length = (length << 8) | static_cast<std::uint8_t>(input[2 + i]);
    header += count;
  }
  if (length > input.size() - header) return false;
  out.tag = tag;
  out.value = input.substr(header, length);
  input.remove_prefix(header + length);
  return true;
}

bool Expect(std::string_view& input, std::uint8_t tag, std::string_view& value) {
  Tlv tlv;
  if (!Read(input, tlv) || tlv.tag != tag) return false;
  value = tlv.value;
  return true;
}

bool ReadInteger(std::string_view value, std::int64_t& out) {
  if (value.empty() || value.size() > 8) return false;
  std::uint64_t bits = static_cast<std::uint8_t>(value[0]) & 0x80 ? ~std::uint64_t{0} : 0;
  for (char c : value) bits = (bits << 8) | static_cast<std::uint8_t>(c);
  out = static_cast<std::int64_t>(bits);
  return true;
}

std::string Encode(std::uint8_t tag, std::string_view value) {
  std::string out(1, static_cast<char>(tag));
  const std::size_t length = value.size();
  if (length < 0x80) {
    out += static_cast<char>(length);
  } else {
    std::string digits;
    for (std::size_t rest = length; rest > 0; rest >>= 8)
      digits.insert(digits.begin(), static_cast<char>(rest & 0xFF));
    out += static_cast<char>(0x80 | digits.size());
    out += digits;
  }
  out += value;
  return out;
}

std::string EncodeInteger(std::int64_t value) {
  // Shortest two's complement form: drop leading bytes that only repeat the sign.
  std::string bytes;
  for (int shift = 56; shift >= 0; shift -= 8)
    bytes += static_cast<char>((static_cast<std::uint64_t>(value) >> shift) & 0xFF);
  std::size_t first = 0;
  while (first < 7) {
    const auto b = static_cast<std::uint8_t>(bytes[first]);
    const auto next = static_cast<std::uint8_t>(bytes[first + 1]);
    if ((b == 0x00 && !(next & 0x80)) || (b == 0xFF && (next & 0x80))) {
      ++first;
    } else {
      break;
    }
  }
  return Encode(kInteger, std::string_view(bytes).substr(first));
}

}  // namespace orvella::sim::ber
