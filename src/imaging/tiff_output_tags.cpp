#include "imaging/tiff_output_tags.h"

#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"

namespace orvella::imaging {
namespace {

constexpr tmsize_t kWriteBufferBytes = tmsize_t{1} << 20;

}  // namespace

TiffResult SetBilevelTags(TiffFile& out, uint32_t width, uint32_t length, uint16_t compression,
                          uint16_t photometric, double xDpi, double yDpi, std::string* detail) {
  TIFF* tif = out.get();
  const bool set =
      TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width) && TIFFSetField(tif, TIFFTAG_IMAGELENGTH, length) &&
      TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1) && TIFFSetField(tif, TIFFTAG_COMPRESSION, compression) &&
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric) && TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1) &&
      TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, length) &&
      TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
      TIFFSetField(tif, TIFFTAG_XRESOLUTION, xDpi) && TIFFSetField(tif, TIFFTAG_YRESOLUTION, yDpi) &&
      TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  // libtiff would otherwise buffer a whole strip (a whole page here) before
  // writing it out; a bounded buffer is flushed as it fills.
  if (set && TIFFWriteBufferSetup(tif, nullptr, kWriteBufferBytes)) return kTiffOk;
  return WithDetail(detail, kTiffWriteError,
                    out.Explain("the page header of " + out.Where() + " cannot be set"));
}

}  // namespace orvella::imaging
