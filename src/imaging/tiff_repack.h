#pragma once
// The repacked single-strip TIFF: a fixed 174-byte little-endian header (one
// IFD of 12 entries and the two resolution rationals) followed by the strip.
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "imaging/tiff_result.h"

namespace orvella::imaging {

inline constexpr size_t kRepackedHeaderBytes = 174;

// Called with the open output just before the TIFF bytes (beforeImage true)
// and just after them (false); returning false aborts with code 11.
using FileHook = std::function<bool(std::FILE* out, bool beforeImage)>;

struct RepackedPage {
  uint32_t width = 0;
  uint32_t length = 0;
  bool compressed = true;  // CCITT Group 4, else none
  double xDpi = 0;
  double yDpi = 0;
};

// A resolution as numerator and denominator: the denominator is the largest
// power of 8 that keeps the numerator below 2^31, for precision.
std::pair<uint32_t, uint32_t> ResolutionRational(double dpi);

std::array<uint8_t, kRepackedHeaderBytes> RepackedHeader(const RepackedPage& page, uint32_t stripBytes);

// Writes target as the header followed by the only strip of the libtiff file
// stripFile, copied in 8 MB pieces, with the file hook around the TIFF bytes.
// 7 when stripFile lacks its strip tags; the target is removed on failure.
// detail, when given, receives the cause of a failure.
TiffResult WriteRepacked(const std::filesystem::path& stripFile, const std::filesystem::path& target,
                         const RepackedPage& page, const FileHook& hook, std::string* detail = nullptr);

}  // namespace orvella::imaging
