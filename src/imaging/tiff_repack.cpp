#include "imaging/tiff_repack.h"

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

constexpr size_t kCopyPieceBytes = 8 * 1024 * 1024;

class HeaderWriter {
 public:
  explicit HeaderWriter(std::array<uint8_t, kRepackedHeaderBytes>& bytes) : bytes_(bytes) {}
  void U16(uint16_t v) {
    bytes_[at_++] = static_cast<uint8_t>(v);
    bytes_[at_++] = static_cast<uint8_t>(v >> 8);
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Entry(uint16_t tag, uint16_t type, uint32_t value) {
    U16(tag);
    U16(type);
    U32(1);
    // A SHORT value sits in the first two bytes of the value field.
    if (type == TIFF_SHORT) {
      U16(static_cast<uint16_t>(value));
      U16(0);
    } else {
      U32(value);
    }
  }
  size_t At() const { return at_; }

 private:
  std::array<uint8_t, kRepackedHeaderBytes>& bytes_;
  size_t at_ = 0;
};

}  // namespace

std::pair<uint32_t, uint32_t> ResolutionRational(double dpi) {
  double r = dpi > 0 ? dpi : 0;  // NaN counts as 0
  double d = 1;
  constexpr double kLimit = 268435456.0;  // 2^28
  while (r > 0 && r < kLimit && d < kLimit) {
    r *= 8;
    d *= 8;
  }
  const double n = std::trunc(r + 0.5);
  constexpr double kMax = std::numeric_limits<uint32_t>::max();
  return {static_cast<uint32_t>(n < kMax ? n : kMax), static_cast<uint32_t>(d)};
}

std::array<uint8_t, kRepackedHeaderBytes> RepackedHeader(const RepackedPage& page, uint32_t stripBytes) {
  std::array<uint8_t, kRepackedHeaderBytes> bytes{};
  HeaderWriter w(bytes);
  w.U16(0x4949);  // "II"
  w.U16(42);
  w.U32(8);
  w.U16(12);
  w.Entry(TIFFTAG_IMAGEWIDTH, TIFF_LONG, page.width);
  w.Entry(TIFFTAG_IMAGELENGTH, TIFF_LONG, page.length);
  w.Entry(TIFFTAG_BITSPERSAMPLE, TIFF_SHORT, 1);
  w.Entry(TIFFTAG_COMPRESSION, TIFF_SHORT, page.compressed ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE);
  w.Entry(TIFFTAG_PHOTOMETRIC, TIFF_SHORT, PHOTOMETRIC_MINISWHITE);
  w.Entry(TIFFTAG_STRIPOFFSETS, TIFF_LONG, kRepackedHeaderBytes);
  w.Entry(TIFFTAG_SAMPLESPERPIXEL, TIFF_SHORT, 1);
  w.Entry(TIFFTAG_ROWSPERSTRIP, TIFF_LONG, page.length);
  w.Entry(TIFFTAG_STRIPBYTECOUNTS, TIFF_LONG, stripBytes);
  w.Entry(TIFFTAG_XRESOLUTION, TIFF_RATIONAL, 158);
  w.Entry(TIFFTAG_YRESOLUTION, TIFF_RATIONAL, 166);
  w.Entry(TIFFTAG_RESOLUTIONUNIT, TIFF_SHORT, RESUNIT_INCH);
  w.U32(0);  // no next IFD
  for (double dpi : {page.xDpi, page.yDpi}) {
    auto [numerator, denominator] = ResolutionRational(dpi);
    w.U32(numerator);
    w.U32(denominator);
  }
  return bytes;
}

TiffResult WriteRepacked(const std::filesystem::path& stripFile, const std::filesystem::path& target,
                         const RepackedPage& page, const FileHook& hook, std::string* detail) {
  auto fail = [detail](TiffResult code, const std::string& text) { return WithDetail(detail, code, text); };
  uint64_t offset = 0;
  uint64_t byteCount = 0;
  {
    TiffFile written(stripFile, "rc");
    if (!written) return fail(kTiffOpenError, written.OpenFailure());
    uint64_t* offsets = nullptr;
    uint64_t* byteCounts = nullptr;
    if (!TIFFGetField(written.get(), TIFFTAG_STRIPOFFSETS, &offsets) ||
        !TIFFGetField(written.get(), TIFFTAG_STRIPBYTECOUNTS, &byteCounts) || !offsets || !byteCounts) {
      return fail(kTiffMissingTag, stripFile.string() + " has no StripOffsets or StripByteCounts tag");
    }
    if (const auto strips = TIFFNumberOfStrips(written.get()); strips != 1) {
      return fail(kTiffParseError,
                  stripFile.string() + " has " + std::to_string(strips) + " strips, not one");
    }
    offset = offsets[0];
    byteCount = byteCounts[0];
  }
  // The header has 32 bits for the strip's size.
  if (byteCount > std::numeric_limits<uint32_t>::max()) {
    return fail(kTiffWriteError, "the page's strip of " + std::to_string(byteCount) +
                                     " bytes is larger than a repacked file can hold (4 GiB)");
  }

  base::FilePtr in(std::fopen(stripFile.c_str(), "rb"));
  if (!in) return fail(kTiffOpenError, "cannot open " + stripFile.string() + ": " + SystemText());
  if (fseeko(in.get(), static_cast<off_t>(offset), SEEK_SET) != 0)
    return fail(kTiffReadError, "cannot seek in " + stripFile.string() + ": " + SystemText());
  base::FilePtr out(std::fopen(target.c_str(), "wb"));
  if (!out) return fail(kTiffOpenError, "cannot create " + target.string() + ": " + SystemText());
  FileRemover removeOnFailure(target);

  const std::string writeFailed = "cannot write " + target.string();
  if (hook && !hook(out.get(), true))
    return fail(kTiffCallbackError, writeFailed + ": the data before the image failed");
  const auto header = RepackedHeader(page, static_cast<uint32_t>(byteCount));
  if (std::fwrite(header.data(), 1, header.size(), out.get()) != header.size())
    return fail(kTiffWriteError, writeFailed + ": " + SystemText());
  auto piece = std::make_unique_for_overwrite<char[]>(kCopyPieceBytes);
  for (uint64_t left = byteCount; left > 0;) {
    const size_t n = left < kCopyPieceBytes ? static_cast<size_t>(left) : kCopyPieceBytes;
    if (std::fread(piece.get(), 1, n, in.get()) != n) {
      if (std::ferror(in.get()))
        return fail(kTiffReadError, "cannot read " + stripFile.string() + ": " + SystemText());
      return fail(kTiffReadError, stripFile.string() + " ends inside its strip (" +
                                      std::to_string(byteCount) + " bytes from offset " +
                                      std::to_string(offset) + ")");
    }
    if (std::fwrite(piece.get(), 1, n, out.get()) != n)
      return fail(kTiffWriteError, writeFailed + ": " + SystemText());
    left -= n;
  }
  if (hook && !hook(out.get(), false))
    return fail(kTiffCallbackError, writeFailed + ": the data after the image failed");
  if (!base::CloseFile(std::move(out))) return fail(kTiffWriteError, writeFailed + ": " + SystemText());
  removeOnFailure.Keep();
  return kTiffOk;
}

}  // namespace orvella::imaging
