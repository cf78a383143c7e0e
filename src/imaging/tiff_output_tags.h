#pragma once
// The tags of every bilevel page these operations write: one strip, resolution
// in dots per inch.
#include <cstdint>

namespace orvella::imaging {

class TiffFile;

// False when libtiff refuses a value (a compression it cannot write).
bool SetBilevelTags(TiffFile& out, uint32_t width, uint32_t length, uint16_t compression,
                    uint16_t photometric, double xDpi, double yDpi);

}  // namespace orvella::imaging
