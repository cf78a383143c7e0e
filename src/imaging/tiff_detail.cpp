#include "imaging/tiff_detail.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace orvella::imaging {

TiffResult WithDetail(std::string* detail, TiffResult code, std::string text) {
  if (detail) *detail = std::move(text);
  return code;
}

std::string SystemText() { return std::generic_category().message(errno); }

std::string PageName(const std::filesystem::path& file, int page) {
  return "page " + std::to_string(static_cast<long long>(page) + 1) + " of " + file.string();
}

std::string NotOneBit(uint16_t bitsPerSample) {
  return " is " + std::to_string(bitsPerSample) + " bits per sample; only 1-bit pages are supported";
}

std::string NotOneSample(uint16_t samplesPerPixel) {
  return " has " + std::to_string(samplesPerPixel) + " samples per pixel; only 1 is supported";
}

std::string EmptyPage(uint32_t width, uint32_t length) {
  return " is empty (" + std::to_string(width) + " x " + std::to_string(length) + " pixels)";
}

}  // namespace orvella::imaging
