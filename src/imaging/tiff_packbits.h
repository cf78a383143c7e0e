#pragma once
// PackBits run-length coding of one row, as TIFF and HP RTL define it.
#include <cstddef>
#include <cstdint>

namespace orvella::imaging {

// Worst-case packed size of n bytes.
inline size_t PackBitsBound(size_t n) { return n + (n + 127) / 128; }

// Packs n bytes into out (room for PackBitsBound(n)); returns the packed size.
// Runs of three or more equal bytes are replicated, the rest is literal.
size_t PackBits(const uint8_t* in, size_t n, uint8_t* out);

}  // namespace orvella::imaging
