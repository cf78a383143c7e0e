#pragma once
// The little of ASN.1 BER that an SNMP v1 GetRequest and its answer need:
// single-byte tags, definite lengths. Every read is bounds-checked.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvella::sim::ber {

enum Tag : std::uint8_t {
  kInteger = 0x02,
  kOctetString = 0x04,
  kNull = 0x05,
  kObjectId = 0x06,
  kSequence = 0x30,
  kGetRequest = 0xA0,
  kGetResponse = 0xA2,
};

struct Tlv {
  std::uint8_t tag = 0;
  std::string_view value;
};

// Takes one element off the front of input; false when it is malformed or cut short.
bool Read(std::string_view& input, Tlv& out);
// Reads one element and checks its tag.
bool Expect(std::string_view& input, std::uint8_t tag, std::string_view& value);
// A signed INTEGER value of 1 to 8 bytes.
bool ReadInteger(std::string_view value, std::int64_t& out);

std::string Encode(std::uint8_t tag, std::string_view value);
std::string EncodeInteger(std::int64_t value);

}  // namespace orvella::sim::ber
