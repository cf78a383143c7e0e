#include "support/imaging/test_bitmap.h"

#include <random>
#include <stdexcept>

namespace orvella::imaging::test {
namespace {

struct Closer {
  void operator()(TIFF* t) const { TIFFClose(t); }
};

}  // namespace

Bitmap Bitmap::FromText(const std::vector<std::string>& rows) {
  Bitmap b(static_cast<uint32_t>(rows.empty() ? 0 : rows[0].size()), static_cast<uint32_t>(rows.size()));
  for (uint32_t y = 0; y < b.length; ++y) {
    for (uint32_t x = 0; x < b.width; ++x) b.Set(x, y, rows[y][x] == '#');
  }
  return b;
}

Bitmap Bitmap::Random(uint32_t w, uint32_t h, uint32_t seed, double density) {
  Bitmap b(w, h);
  std::mt19937 rng(seed);
  std::bernoulli_distribution on(density);
  for (auto& p : b.pixels) p = on(rng);
  return b;
}

std::vector<uint8_t> Bitmap::PackedRow(uint32_t y) const {
  std::vector<uint8_t> row((width + 7) / 8, 0);
  for (uint32_t x = 0; x < width; ++x) {
    if (At(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return row;
}

double Bitmap::Density() const {
  size_t set = 0;
  for (auto p : pixels) set += p;
  return pixels.empty() ? 0 : static_cast<double>(set) / static_cast<double>(pixels.size());
}

void WriteTiff(const std::filesystem::path& path, const std::vector<Bitmap>& pages,
               const TiffOptions& options) {
  std::unique_ptr<TIFF, Closer> tif(TIFFOpen(path.c_str(), "w"));
  if (!tif) throw std::runtime_error("cannot create " + path.string());
  for (const Bitmap& page : pages) {
    TIFF* t = tif.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, page.length);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, options.bitsPerSample);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_COMPRESSION, options.compression);
    if (options.withPhotometric) TIFFSetField(t, TIFFTAG_PHOTOMETRIC, options.photometric);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, page.length);
    if (options.withResolution) {
      TIFFSetField(t, TIFFTAG_XRESOLUTION, options.xResolution);
      TIFFSetField(t, TIFFTAG_YRESOLUTION, options.yResolution);
      TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, options.resolutionUnit);
    }
    for (uint32_t y = 0; y < page.length; ++y) {
      std::vector<uint8_t> row;
      if (options.bitsPerSample == 8) {
        for (uint32_t x = 0; x < page.width; ++x) row.push_back(page.At(x, y) ? 255 : 0);
      } else {
        row = page.PackedRow(y);
      }
      if (TIFFWriteScanline(t, row.data(), y, 0) != 1)
        throw std::runtime_error("cannot write " + path.string());
    }
    if (!TIFFWriteDirectory(t)) throw std::runtime_error("cannot finish " + path.string());
  }
}

Bitmap ReadTiff(const std::filesystem::path& path, int page) {
  std::unique_ptr<TIFF, Closer> tif(TIFFOpen(path.c_str(), "r"));
  if (!tif || !TIFFSetDirectory(tif.get(), static_cast<tdir_t>(page))) {
    throw std::runtime_error("cannot read " + path.string());
  }
  uint32_t w = 0, h = 0;
  TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h);
  Bitmap b(w, h);
  std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tif.get())));
  for (uint32_t y = 0; y < h; ++y) {
    if (TIFFReadScanline(tif.get(), row.data(), y, 0) != 1)
      throw std::runtime_error("bad row in " + path.string());
    for (uint32_t x = 0; x < w; ++x) b.Set(x, y, row[x / 8] & (0x80 >> (x % 8)));
  }
  return b;
}

void PrintTo(const Bitmap& bitmap, std::ostream* os) {
  *os << bitmap.width << "x" << bitmap.length;
  if (bitmap.width > 64 || bitmap.length > 64) return;
  for (uint32_t y = 0; y < bitmap.length; ++y) {
    *os << "\n";
    for (uint32_t x = 0; x < bitmap.width; ++x) *os << (bitmap.At(x, y) ? '#' : '.');
  }
}

Bitmap Turned(const Bitmap& in, int angle) {
  const bool quarter = angle == 90 || angle == 270;
  Bitmap out(quarter ? in.length : in.width, quarter ? in.width : in.length);
  const uint32_t W = in.width, H = in.length;
  for (uint32_t i = 0; i < out.length; ++i) {
    for (uint32_t j = 0; j < out.width; ++j) {
      bool v = false;
      if (angle == 0) v = in.At(j, i);
      if (angle == 90) v = in.At(i, H - 1 - j);
      if (angle == 180) v = in.At(W - 1 - j, H - 1 - i);
      if (angle == 270) v = in.At(W - 1 - i, j);
      out.Set(j, i, v);
    }
  }
  return out;
}

}  // namespace orvella::imaging::test
