#include "imaging/tiff_rows.h"

#include <algorithm>

#include "imaging/tiff_file.h"

namespace orvella::imaging {

void OrBits(uint8_t* dst, uint32_t dstBits, uint64_t dstOffset, const uint8_t* src, uint32_t srcBits) {
  if (dstOffset >= dstBits) return;
  const auto bits = static_cast<uint32_t>(std::min<uint64_t>(srcBits, dstBits - dstOffset));
  if (bits == 0) return;
  const size_t srcBytes = RowBytes(bits);
  const auto tailMask = static_cast<uint8_t>(0xFF << ((8 - bits % 8) % 8));
  uint8_t* d = dst + dstOffset / 8;
  const unsigned shift = dstOffset % 8;
  if (shift == 0) {
    for (size_t i = 0; i + 1 < srcBytes; ++i) d[i] |= src[i];
    d[srcBytes - 1] |= src[srcBytes - 1] & tailMask;
    return;
  }
  // Destination byte k takes the low bits of source byte k-1 and the high bits
  // of source byte k. The last source byte is masked and may spill one byte on.
  const uint8_t last = src[srcBytes - 1] & tailMask;
  d[0] |= static_cast<uint8_t>((srcBytes == 1 ? last : src[0]) >> shift);
  for (size_t k = 1; k + 1 < srcBytes; ++k) {
    d[k] |= static_cast<uint8_t>((src[k - 1] << (8 - shift)) | (src[k] >> shift));
  }
  if (srcBytes > 1) {
    d[srcBytes - 1] |= static_cast<uint8_t>((src[srcBytes - 2] << (8 - shift)) | (last >> shift));
  }
  // The spill holds pixels only when they exist: shift + bits > 8 * srcBytes.
  if (shift + bits > 8 * srcBytes) d[srcBytes] |= static_cast<uint8_t>(last << (8 - shift));
}

void InvertRow(uint8_t* row, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(~row[i]);
}

void ClearPadBits(uint8_t* row, uint32_t width) {
  if (width % 8) row[width / 8] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
}

}  // namespace orvella::imaging
