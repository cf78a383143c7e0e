#include "imaging/tiff_resample.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "base/fixed_format.h"
#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_output_tags.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_repack.h"
#include "imaging/tiff_rows.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

#if defined(__x86_64__)
bool CanGatherBits() {
  static const bool bmi2 = __builtin_cpu_supports("bmi2");
  return bmi2;
}

// Output byte k is the bits of its input window under mask[k], in order;
// white windows are the common case and skip the gather.
__attribute__((target("bmi2"))) void GatherBytes(const uint8_t* in, uint8_t* out, const uint32_t* window,
                                                 const uint64_t* mask, size_t bytes) {
  for (size_t k = 0; k < bytes; ++k) {
    const uint64_t w = LoadBigEndian64(in + window[k]);
    out[k] = w == 0 ? 0 : static_cast<uint8_t>(_pext_u64(w, mask[k]));
  }
}
#else
bool CanGatherBits() { return false; }
void GatherBytes(const uint8_t*, uint8_t*, const uint32_t*, const uint64_t*, size_t) {}
#endif

// Scales one row by a column map. Each output byte reads one 64-bit window of
// the input row, so white (and solid black) stretches cost one load and test.
class RowScaler {
 public:
  RowScaler(uint32_t inWidth, uint32_t outWidth, double inverse) : outWidth_(outWidth) {
    source_.resize(outWidth);
    for (uint32_t i = 0; i < outWidth; ++i) {
      const auto s = static_cast<uint64_t>(i * inverse);
      source_[i] = static_cast<uint32_t>(s < inWidth ? s : inWidth - 1);
    }
    const size_t outBytes = RowBytes(outWidth);
    window_.resize(outBytes);
    offset_.resize(outBytes * 8, 0);
    // Where no input column serves twice within an output byte (reductions),
    // one mask per output byte picks its bits in order.
    gathered_ = CanGatherBits();
    if (gathered_) mask_.resize(outBytes, 0);
    for (size_t k = 0; k < outBytes; ++k) {
      const uint32_t first = source_[8 * k] / 8;
      window_[k] = first;
      int pixels = 0;
      for (size_t t = 0; t < 8 && 8 * k + t < outWidth; ++t, ++pixels) {
        const uint32_t offset = source_[8 * k + t] - 8 * first;
        if (offset > 63) windowed_ = false;  // reductions below 1/8
        offset_[8 * k + t] = static_cast<uint8_t>(offset & 63);
        if (gathered_) mask_[k] |= uint64_t{1} << (63 - (offset & 63));
      }
      if (gathered_ && __builtin_popcountll(mask_[k]) != pixels) gathered_ = false;
    }
  }

  // in must be readable 8 bytes past its row.
  void Scale(const uint8_t* in, uint8_t* out) const {
    const size_t outBytes = window_.size();
    if (!windowed_) {
      std::memset(out, 0, outBytes);
      for (uint32_t i = 0; i < outWidth_; ++i) {
        const uint32_t s = source_[i];
        if (in[s / 8] & (0x80 >> (s % 8))) out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
      }
      return;
    }
    if (gathered_) {
      GatherBytes(in, out, window_.data(), mask_.data(), outBytes);
      // The last byte's pixels came out at its low end.
      if (outWidth_ % 8) out[outBytes - 1] = static_cast<uint8_t>(out[outBytes - 1] << (8 - outWidth_ % 8));
      return;
    }
    for (size_t k = 0; k < outBytes; ++k) {
      const uint64_t w = LoadBigEndian64(in + window_[k]);
      if (w == 0 || w == ~uint64_t{0}) {
        out[k] = static_cast<uint8_t>(w);
        continue;
      }
      const uint8_t* offset = &offset_[8 * k];
      unsigned byte = 0;
      for (int t = 0; t < 8; ++t) byte = (byte << 1) | static_cast<unsigned>((w >> (63 - offset[t])) & 1);
      out[k] = static_cast<uint8_t>(byte);
    }
    ClearPadBits(out, outWidth_);
  }

 private:
  uint32_t outWidth_;
  bool windowed_ = true;
  bool gathered_ = false;
  std::vector<uint32_t> source_;  // input column of each output column
  std::vector<uint32_t> window_;  // first input byte of each output byte's window
  std::vector<uint8_t> offset_;   // bit of each output column within its window
  std::vector<uint64_t> mask_;    // the bits of each output byte within its window
};

TiffResult WriteRows(TiffFile& in, const TiffPageInfo& info, TiffFile& out, uint32_t outWidth,
                     uint32_t outLength, double ratio, std::string* detail) {
  const size_t inBytes = RowBytes(info.width);
  const size_t outBytes = RowBytes(outWidth);
  const bool invert = info.photometric == PHOTOMETRIC_MINISBLACK;
  std::vector<uint8_t> inRow, outRow;
  try {
    inRow.resize(inBytes + 8);  // room for the scaler's last window
    outRow.resize(outBytes);
  } catch (const std::bad_alloc&) {
    return WithDetail(detail, kTiffMemoryError,
                      "no memory for rows of " + std::to_string(inBytes) + " bytes");
  }
  auto readRow = [&](uint32_t y) {
    if (!in.ReadRow(inRow.data(), y)) return false;
    if (invert) InvertRow(inRow.data(), inBytes);
    return true;
  };
  auto readFailed = [&](uint32_t y) { return WithDetail(detail, kTiffReadError, in.RowFailure(y)); };
  auto writeFailed = [&](uint32_t y) { return WithDetail(detail, kTiffWriteError, out.RowFailure(y)); };

  if (ratio == 1) {
    for (uint32_t y = 0; y < outLength; ++y) {
      if (!readRow(y)) return readFailed(y);
      ClearPadBits(inRow.data(), info.width);
      if (!out.WriteRow(inRow.data(), y)) return writeFailed(y);
    }
    return kTiffOk;
  }

  const double inverse = 1 / ratio;
  std::unique_ptr<RowScaler> scaler;
  try {
    scaler = std::make_unique<RowScaler>(info.width, outWidth, inverse);
  } catch (const std::bad_alloc&) {
    return WithDetail(detail, kTiffMemoryError,
                      "no memory for the column map of " + std::to_string(outWidth) + " pixels");
  }
  int64_t current = -1;  // input row in inRow
  int64_t scaled = -1;   // input row in outRow
  for (uint32_t y = 0; y < outLength; ++y) {
    auto source = static_cast<int64_t>(y * inverse);
    if (source >= info.length) source = info.length - 1;
    while (current < source) {
      if (!readRow(static_cast<uint32_t>(++current))) return readFailed(static_cast<uint32_t>(current));
    }
    if (scaled != source) {
      scaler->Scale(inRow.data(), outRow.data());
      scaled = source;
    }
    if (!out.WriteRow(outRow.data(), y)) return writeFailed(y);
  }
  return kTiffOk;
}

}  // namespace

TiffResult ResampleTiff(const std::filesystem::path& input, const std::filesystem::path& output,
                        double targetDpi, double scale, bool compress, bool repack, std::string* detail) {
  TiffFile in(input, "rc");
  if (!in) return WithDetail(detail, kTiffOpenError, in.OpenFailure());
  TiffPageInfo info;
  if (TiffResult result = CheckPageHeader(in, info, detail); result != kTiffOk) return result;

  const double inputDpi = ResolutionDpi(info.xResolution, info.resolutionUnit);
  const double ratio = targetDpi != 0 ? targetDpi / inputDpi * scale : scale;
  const double outputDpi = targetDpi != 0 ? targetDpi : inputDpi;
  const std::string scaling = input.string() + " at " + base::FormatFixed(inputDpi, 2) + " dpi scaled by " +
                              base::FormatFixed(ratio, 4);
  if (!(ratio > 0) || !std::isfinite(ratio))
    return WithDetail(detail, kTiffParseError, scaling + ": the factor must be a positive number");
  const double width = std::trunc(info.width * ratio);
  const double length = std::trunc(info.length * ratio);
  if (width < 1 || length < 1) return WithDetail(detail, kTiffParseError, scaling + " leaves no pixels");
  if (length > UINT32_MAX || !WithinPageBytes(width, length))
    return WithDetail(detail, kTiffMemoryError, scaling + " would be too large");
  const auto outWidth = static_cast<uint32_t>(width);
  const auto outLength = static_cast<uint32_t>(length);

  // An uncompressed repacked file needs an uncompressed strip; otherwise the
  // output is Group 4.
  const uint16_t compression = repack && !compress ? COMPRESSION_NONE : COMPRESSION_CCITTFAX4;
  auto writePage = [&](TiffFile& out) {
    if (!out) return WithDetail(detail, kTiffOpenError, out.OpenFailure());
    if (TiffResult result = SetBilevelTags(out, outWidth, outLength, compression, PHOTOMETRIC_MINISWHITE,
                                           outputDpi, outputDpi, detail);
        result != kTiffOk) {
      return result;
    }
    if (TiffResult result = WriteRows(in, info, out, outWidth, outLength, ratio, detail); result != kTiffOk)
      return result;
    if (out.Close()) return kTiffOk;
    return WithDetail(detail, kTiffWriteError, out.CloseFailure());
  };

  if (!repack) {
    TiffFile out(output, "w");
    FileRemover removeOnFailure(out ? output : std::filesystem::path());
    if (TiffResult result = writePage(out); result != kTiffOk) return result;
    removeOnFailure.Keep();
    return kTiffOk;
  }
  NewFile intermediate = CreateNumberedSibling(output);
  if (!intermediate.fd) return WithDetail(detail, kTiffOpenError, intermediate.failure);
  FileRemover removeIntermediate(intermediate.path);
  {
    TiffFile out(std::move(intermediate.fd), intermediate.path, "w");
    if (TiffResult result = writePage(out); result != kTiffOk) return result;
  }
  in.Close();
  return WriteRepacked(intermediate.path, output, {outWidth, outLength, compress, outputDpi, outputDpi}, {},
                       detail);
}

}  // namespace orvella::imaging
