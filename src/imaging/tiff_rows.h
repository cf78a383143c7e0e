#pragma once
// Operations on packed 1-bit rows: most significant bit first, a set bit black.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvella::imaging {

// ORs the first srcBits pixels of src into dst from pixel dstOffset on,
// clipped at dstBits (the width of dst). Bits of src beyond srcBits are ignored.
void OrBits(uint8_t* dst, uint32_t dstBits, uint64_t dstOffset, const uint8_t* src, uint32_t srcBits);

// Flips every bit (MinIsBlack rows to MinIsWhite).
void InvertRow(uint8_t* row, size_t bytes);

// Clears the bits beyond width in the row's last byte.
void ClearPadBits(uint8_t* row, uint32_t width);

// The 64 pixels from p on as one word, the first pixel in the top bit.
inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return __builtin_bswap64(v);
}

}  // namespace orvella::imaging
