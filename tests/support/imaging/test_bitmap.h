#pragma once
// Small 1-bit images for the TIFF tests: one byte per pixel, written to and
// read from real TIFF files with libtiff.
#include <tiffio.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace orvella::imaging::test {

struct Bitmap {
  uint32_t width = 0;
  uint32_t length = 0;
  std::vector<uint8_t> pixels;  // 1 = black (set bit)

  Bitmap() = default;
  Bitmap(uint32_t w, uint32_t h) : width(w), length(h), pixels(static_cast<size_t>(w) * h, 0) {}
  // Rows of '#' (set) and '.' (clear).
  static Bitmap FromText(const std::vector<std::string>& rows);
  // Deterministic noise with about density of the pixels set.
  static Bitmap Random(uint32_t w, uint32_t h, uint32_t seed, double density = 0.5);

  bool At(uint32_t x, uint32_t y) const { return pixels[static_cast<size_t>(y) * width + x] != 0; }
  void Set(uint32_t x, uint32_t y, bool on = true) { pixels[static_cast<size_t>(y) * width + x] = on; }
  // Packed row, MSB first.
  std::vector<uint8_t> PackedRow(uint32_t y) const;
  double Density() const;
  bool operator==(const Bitmap&) const = default;
};

struct TiffOptions {
  uint16_t compression = COMPRESSION_CCITTFAX4;
  uint16_t photometric = PHOTOMETRIC_MINISWHITE;
  uint16_t bitsPerSample = 1;
  float xResolution = 600;
  float yResolution = 600;
  uint16_t resolutionUnit = RESUNIT_INCH;
  bool withResolution = true;
  bool withPhotometric = true;
};

// Writes the pages; the stored bits are the bitmap's (no inversion for
// MinIsBlack). 8-bit pages store 0 or 255 per pixel.
void WriteTiff(const std::filesystem::path& path, const std::vector<Bitmap>& pages,
               const TiffOptions& options = {});
inline void WriteTiff(const std::filesystem::path& path, const Bitmap& page,
                      const TiffOptions& options = {}) {
  WriteTiff(path, std::vector<Bitmap>{page}, options);
}
// The stored bits of a 1-bit page; throws when libtiff cannot read it.
Bitmap ReadTiff(const std::filesystem::path& path, int page = 0);

// Shown as rows of '#' and '.' in test failures.
void PrintTo(const Bitmap& bitmap, std::ostream* os);

// Reference turns, pixel by pixel.
Bitmap Turned(const Bitmap& in, int angle);

}  // namespace orvella::imaging::test
