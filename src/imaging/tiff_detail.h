#pragma once
// Failure details of the TIFF operations. Each operation takes an optional
// std::string* detail that, on failure only, receives the real cause in plain
// English: the file and page, what was found against what is supported, and
// libtiff's own words where it gave any.
#include <cstdint>
#include <filesystem>
#include <string>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

// code, with text stored in *detail when the caller asked for a detail.
TiffResult WithDetail(std::string* detail, TiffResult code, std::string text);

// What errno says about the system call that just failed.
std::string SystemText();

// "page 3 of <file>" for page index 2: pages counted as people count them.
std::string PageName(const std::filesystem::path& file, int page);

// The header refusals the checks share, each to follow the page's name.
std::string NotOneBit(uint16_t bitsPerSample);
std::string NotOneSample(uint16_t samplesPerPixel);
std::string EmptyPage(uint32_t width, uint32_t length);
inline constexpr const char* kTiledPage = " is stored in tiles; only pages stored in strips are supported";

}  // namespace orvella::imaging
