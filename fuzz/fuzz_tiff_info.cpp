// Arbitrary bytes as a TIFF file for the header readers and the page count.
#include "fuzz_support.h"
#include "imaging/tiff_page_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella::imaging;
  const auto input = orvella::fuzz::InputFile(data, size);
  int pages = 0;
  CountPages(input, pages);
  for (int page = 0; page < 3; ++page) {
    TiffPageInfo info;
    ReadPageInfo(input, page, info);
    double width = 0, length = 0;
    ReadPageSizeMm(input, page, width, length);
  }
  return 0;
}
