// Writes the halftone patterns 1.TIF, 2.TIF and 3.TIF into a folder: 25, 50
// and 75 % black in a 4 x 4 ordered (Bayer) dither, 8192 pixels square (347 mm
// at 600 dpi, so any stamp fits), MinIsWhite, Deflate (dither defeats Group 4).
#include <tiffio.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr uint32_t kSize = 8192;
constexpr uint32_t kRowsPerStrip = 256;

bool WritePattern(const std::string& path, int blackSixteenths) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSize);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSize);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 9);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kRowsPerStrip);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 600.0);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 600.0);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  std::vector<uint8_t> row(kSize / 8);
  bool ok = true;
  for (uint32_t y = 0; ok && y < kSize; ++y) {
    for (uint32_t x = 0; x < kSize; ++x) {
      const bool black = kBayer[y % 4][x % 4] < blackSixteenths;
      if (x % 8 == 0) row[x / 8] = 0;
      if (black) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    ok = TIFFWriteScanline(tif, row.data(), y, 0) == 1;
  }
  TIFFClose(tif);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_halftone FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (int n = 1; n <= 3; ++n) {
    if (!WritePattern(folder + "/" + std::to_string(n) + ".TIF", 4 * n)) {
      std::fprintf(stderr, "make_halftone: cannot write %s/%d.TIF\n", folder.c_str(), n);
      return 1;
    }
  }
  return 0;
}
