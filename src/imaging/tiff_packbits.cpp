#include "imaging/tiff_packbits.h"

#include <cstring>

namespace orvella::imaging {

size_t PackBits(const uint8_t* in, size_t n, uint8_t* out) {
  size_t o = 0;
  size_t i = 0;
  size_t literal = 0;  // start of the pending literal run
  auto flushLiteral = [&](size_t end) {
    while (literal < end) {
      const size_t count = end - literal < 128 ? end - literal : 128;
      out[o++] = static_cast<uint8_t>(count - 1);
      std::memcpy(out + o, in + literal, count);
      o += count;
      literal += count;
    }
  };
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && in[i + run] == in[i]) ++run;
    if (run >= 3) {
      flushLiteral(i);
      out[o++] = static_cast<uint8_t>(257 - run);  // -(run - 1) as a byte
      out[o++] = in[i];
      i += run;
      literal = i;
    } else {
      i += run;
    }
  }
  flushLiteral(n);
  return o;
}

}  // namespace orvella::imaging
