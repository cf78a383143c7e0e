#include "imaging/tiff_rotate.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_halftone.h"
#include "imaging/tiff_output_tags.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_rows.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

struct FreeMemory {
  void operator()(uint8_t* p) const { std::free(p); }
};

constexpr size_t kHugePageBytes = size_t{2} << 20;

// Memory for a whole page; a large one in huge pages where the system grants
// them: the quarter turn walks down the rows, a page or more apart, so small
// pages cost a TLB miss per row besides a fault per 4 KiB. Stamps are too
// small to gain from them.
std::unique_ptr<uint8_t[], FreeMemory> AllocateRaster(size_t bytes) {
  if (bytes < 8 * kHugePageBytes)
    return std::unique_ptr<uint8_t[], FreeMemory>(static_cast<uint8_t*>(std::malloc(bytes)));
  const size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  auto* p = static_cast<uint8_t*>(std::aligned_alloc(kHugePageBytes, rounded));
  if (p) ::madvise(p, rounded, MADV_HUGEPAGE);  // only advice: without it the page works the same
  return std::unique_ptr<uint8_t[], FreeMemory>(p);
}

// The input page, rows padded to whole 8-byte words.
struct Raster {
  uint32_t width = 0;
  uint32_t length = 0;
  size_t rowBytes = 0;
  size_t stride = 0;
  std::unique_ptr<uint8_t[], FreeMemory> data;

  uint8_t* Row(uint32_t y) const { return data.get() + static_cast<size_t>(y) * stride; }
};

// Transposes an 8 x 8 bit block held as eight row bytes, the first row in the
// most significant byte: bit (r, c) moves to (c, r).
inline uint64_t Transpose8x8(uint64_t x) {
  uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
  x ^= t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
  x ^= t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
  x ^= t ^ (t << 28);
  return x;
}

// Input bytes per band: one band makes 8 x kBandBytes output rows.
constexpr size_t kBandBytes = 64;

// 90 degrees: output row i is input column i, output column j input row H-1-j.
// 270 degrees: output row i is input column W-1-i, output column j input row j.
// The output is built in bands of rows from 8 x 8 bit blocks; each band takes
// one pass over the input's matching byte columns.
bool WriteQuarterTurn(const Raster& in, bool clockwise, TiffFile& out) {
  const uint32_t outWidth = in.length;
  const size_t outBytes = RowBytes(outWidth);
  std::vector<uint8_t> band(kBandBytes * 8 * outBytes);
  const std::vector<uint8_t> blank(in.stride, 0);
  const size_t bands = (in.rowBytes + kBandBytes - 1) / kBandBytes;
  for (size_t n = 0; n < bands; ++n) {
    const size_t b = clockwise ? n : bands - 1 - n;
    const size_t firstByte = b * kBandBytes;
    const size_t bandBytes = std::min(kBandBytes, in.rowBytes - firstByte);
    std::memset(band.data(), 0, bandBytes * 8 * outBytes);
    for (size_t q = 0; q < outBytes; ++q) {
      std::array<const uint8_t*, 8> rows;
      for (uint32_t k = 0; k < 8; ++k) {
        const uint64_t j = 8 * q + k;  // output column
        if (j >= in.length) {
          rows[k] = blank.data();
        } else {
          rows[k] = in.Row(clockwise ? in.length - 1 - static_cast<uint32_t>(j) : static_cast<uint32_t>(j)) +
                    firstByte;
        }
      }
      // Eight blocks at a time from one word of each row; rows are padded to
      // whole words, so a word may reach past the band but never past the row.
      for (size_t m0 = 0; m0 < bandBytes; m0 += 8) {
        std::array<uint64_t, 8> words;
        uint64_t any = 0;
        for (size_t k = 0; k < 8; ++k) {
          words[k] = LoadBigEndian64(rows[k] + m0);
          any |= words[k];
        }
        if (any == 0) continue;  // white blocks: the band is already clear
        const size_t blocks = std::min<size_t>(8, bandBytes - m0);
        for (size_t m = 0; m < blocks; ++m) {
          const unsigned shift = static_cast<unsigned>(56 - 8 * m);
          uint64_t x = 0;
          for (uint64_t word : words) x = (x << 8) | ((word >> shift) & 0xFF);
          if (x == 0) continue;
          x = Transpose8x8(x);
          uint8_t* o = band.data() + (m0 + m) * 8 * outBytes + q;
          for (int t = 0; t < 8; ++t) o[t * outBytes] = static_cast<uint8_t>(x >> (56 - 8 * t));
        }
      }
    }
    const uint32_t firstColumn = static_cast<uint32_t>(firstByte * 8);
    const uint32_t columns = std::min<uint32_t>(static_cast<uint32_t>(bandBytes * 8), in.width - firstColumn);
    for (uint32_t i = 0; i < columns; ++i) {
      const uint32_t c = clockwise ? i : columns - 1 - i;  // band row
      const uint32_t outRow = clockwise ? firstColumn + c : in.width - 1 - (firstColumn + c);
      if (!out.WriteRow(band.data() + static_cast<size_t>(c) * outBytes, outRow)) return false;
    }
  }
  return true;
}

constexpr std::array<uint8_t, 256> MakeBitReversal() {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    int r = 0;
    for (int b = 0; b < 8; ++b) r |= ((i >> b) & 1) << (7 - b);
    table[static_cast<size_t>(i)] = static_cast<uint8_t>(r);
  }
  return table;
}

// Output row i is input row H-1-i read right to left.
bool WriteHalfTurn(const Raster& in, TiffFile& out) {
  static constexpr std::array<uint8_t, 256> kReverse = MakeBitReversal();
  std::vector<uint8_t> row(in.rowBytes + 1, 0);
  const unsigned pad = static_cast<unsigned>(in.rowBytes * 8 - in.width);
  for (uint32_t i = 0; i < in.length; ++i) {
    const uint8_t* src = in.Row(in.length - 1 - i);
    for (size_t j = 0; j < in.rowBytes; ++j) row[j] = kReverse[src[in.rowBytes - 1 - j]];
    // The reversed padding now leads the row: shift it out.
    if (pad) {
      for (size_t j = 0; j < in.rowBytes; ++j) {
        row[j] = static_cast<uint8_t>((row[j] << pad) | (row[j + 1] >> (8 - pad)));
      }
    }
    if (!out.WriteRow(row.data(), i)) return false;
  }
  return true;
}

}  // namespace

TiffResult RotateTiff(const std::filesystem::path& input, const std::filesystem::path& output, int angle,
                      int halftone, const settings::WorkContext& folders, std::string* detail) {
  if (angle != 0 && angle != 90 && angle != 180 && angle != 270) {
    return WithDetail(
        detail, kTiffParseError,
        "cannot turn by " + std::to_string(angle) + " degrees; only 0, 90, 180 and 270 are possible");
  }
  // Read, not mapped: a mapped uncompressed input would count against the
  // memory twice while the raster holds it whole.
  TiffFile in(input, "rm");
  if (!in) return WithDetail(detail, kTiffOpenError, in.OpenFailure());
  TIFF* tif = in.get();
  Raster raster;
  uint16_t bits = 1;
  uint16_t samples = 1;
  uint16_t photometric = PHOTOMETRIC_MINISWHITE;
  uint16_t compression = COMPRESSION_NONE;
  uint16_t unit = RESUNIT_INCH;
  float xResolution = 0;
  float yResolution = 0;
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &raster.width) ||
      !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &raster.length) ||
      !TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xResolution) ||
      !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yResolution)) {
    return WithDetail(
        detail, kTiffMissingTag,
        input.string() + " lacks one of the ImageWidth, ImageLength, XResolution and YResolution tags");
  }
  TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
  TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  raster.rowBytes = RowBytes(raster.width);
  raster.stride = (raster.rowBytes + 7) / 8 * 8;
  const std::string name = input.string();
  if (bits != 1) return WithDetail(detail, kTiffUnsupported, name + NotOneBit(bits));
  if (samples != 1) return WithDetail(detail, kTiffUnsupported, name + NotOneSample(samples));
  if (TIFFIsTiled(tif)) return WithDetail(detail, kTiffUnsupported, name + kTiledPage);
  if (raster.width == 0 || raster.length == 0)
    return WithDetail(detail, kTiffParseError, name + EmptyPage(raster.width, raster.length));
  if (TIFFScanlineSize64(tif) != raster.rowBytes) {
    return WithDetail(
        detail, kTiffUnsupported,
        name + " has rows of an unexpected size for " + std::to_string(raster.width) + " pixels");
  }
  // Held whole, and turned rows are as wide as the page is long.
  if (raster.width > kMaxRowPixels || raster.length > kMaxRowPixels ||
      static_cast<uint64_t>(raster.length) * raster.stride > kMaxRasterBytes) {
    return WithDetail(detail, kTiffMemoryError,
                      name + " is too large to turn whole (" + std::to_string(raster.width) + " x " +
                          std::to_string(raster.length) + " pixels)");
  }
  // Left uninitialised: pages are touched only as rows arrive, so a forged
  // header with no data behind it costs no memory.
  raster.data = AllocateRaster(raster.length * raster.stride);
  if (!raster.data) return WithDetail(detail, kTiffMemoryError, "no memory to hold " + name + " whole");
  for (uint32_t y = 0; y < raster.length; ++y) {
    uint8_t* row = raster.Row(y);
    if (!in.ReadRow(row, y)) return WithDetail(detail, kTiffReadError, in.RowFailure(y));
    ClearPadBits(row, raster.width);
    std::memset(row + raster.rowBytes, 0, raster.stride - raster.rowBytes);
  }
  in.Close();
  if (TiffResult result =
          ApplyHalftone(halftone, raster.data.get(), raster.length, raster.stride, folders, detail);
      result != kTiffOk) {
    return result;
  }

  const bool quarter = angle == 90 || angle == 270;
  double xDpi = ResolutionDpi(xResolution, unit);
  double yDpi = ResolutionDpi(yResolution, unit);
  if (quarter) std::swap(xDpi, yDpi);
  TiffFile out(output, "w");
  if (!out) return WithDetail(detail, kTiffOpenError, out.OpenFailure());
  FileRemover removeOnFailure(output);
  if (TiffResult result =
          SetBilevelTags(out, quarter ? raster.length : raster.width, quarter ? raster.width : raster.length,
                         compression, photometric, xDpi, yDpi, detail);
      result != kTiffOk) {
    return result;
  }
  bool written = true;
  if (quarter) {
    written = WriteQuarterTurn(raster, angle == 90, out);
  } else if (angle == 180) {
    written = WriteHalfTurn(raster, out);
  } else {
    for (uint32_t y = 0; written && y < raster.length; ++y) written = out.WriteRow(raster.Row(y), y);
  }
  if (!written) return WithDetail(detail, kTiffWriteError, out.Explain("cannot write " + output.string()));
  if (!out.Close()) return WithDetail(detail, kTiffWriteError, out.CloseFailure());
  removeOnFailure.Keep();
  return kTiffOk;
}

}  // namespace orvella::imaging
