#pragma once
// The tags of every bilevel page these operations write: one strip, resolution
// in dots per inch.
#include <cstdint>
#include <string>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

class TiffFile;

// 2 when libtiff refuses a value (a compression it cannot write).
TiffResult SetBilevelTags(TiffFile& out, uint32_t width, uint32_t length, uint16_t compression,
                          uint16_t photometric, double xDpi, double yDpi, std::string* detail = nullptr);

}  // namespace orvella::imaging
