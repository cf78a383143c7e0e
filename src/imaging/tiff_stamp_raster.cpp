#include "imaging/tiff_stamp_raster.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_packbits.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_rows.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

// Escape sequences are built from pieces: "*t" 600 "R" and so on. Numbers are
// written with to_chars, which never looks at the locale.
class Sequence {
 public:
  Sequence& Text(const char* text) {
    bytes_ += text;
    return *this;
  }
  Sequence& Number(long long value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    bytes_.append(digits, end);
    return *this;
  }
  Sequence& Escape() {
    bytes_ += '\x1b';
    return *this;
  }
  bool WriteTo(std::FILE* out) {
    const bool ok = std::fwrite(bytes_.data(), 1, bytes_.size(), out) == bytes_.size();
    bytes_.clear();
    return ok;
  }

 private:
  std::string bytes_;
};

}  // namespace

TiffResult WriteStampRaster(const std::filesystem::path& stamp, const std::filesystem::path& output, int x,
                            int y, bool pack, std::string* detail) {
  TiffPageInfo info;
  if (TiffResult result = ReadPageInfo(stamp, 0, info, detail); result != kTiffOk) return result;
  TiffFile in(stamp, "rc");
  if (!in) return WithDetail(detail, kTiffOpenError, in.OpenFailure());
  auto cannotWrite = [&] {
    return WithDetail(detail, kTiffWriteError, "cannot write " + output.string() + ": " + SystemText());
  };
  base::FilePtr out(std::fopen(output.c_str(), "wb"));
  if (!out) {
    return WithDetail(detail, kTiffOpenError, "cannot create " + output.string() + ": " + SystemText());
  }
  FileRemover removeOnFailure(output);

  const size_t rowBytes = RowBytes(info.width);
  std::vector<uint8_t> row, packed;
  try {
    row.resize(rowBytes);
    packed.resize(PackBitsBound(rowBytes));
  } catch (const std::bad_alloc&) {
    return WithDetail(detail, kTiffMemoryError,
                      "no memory for rows of " + std::to_string(rowBytes) + " bytes");
  }
  const int dpi = TruncateDpi(ResolutionDpi(info.xResolution, info.resolutionUnit));
  Sequence s;
  s.Escape().Text("%0A");
  s.Escape().Text("*t").Number(dpi).Text("R");
  s.Escape().Text("*r").Number(info.width).Text("s").Number(info.length).Text("t0A");
  s.Escape().Text("*p").Number(x).Text("x").Number(y).Text("Y");
  s.Escape().Text("*b").Number(pack ? 2 : 0).Text("M");
  if (!s.WriteTo(out.get())) return cannotWrite();

  const bool invert = info.photometric == PHOTOMETRIC_MINISBLACK;
  for (uint32_t r = 0; r < info.length; ++r) {
    if (!in.ReadRow(row.data(), r)) return WithDetail(detail, kTiffReadError, in.RowFailure(r));
    if (invert) InvertRow(row.data(), rowBytes);
    ClearPadBits(row.data(), info.width);
    const uint8_t* data = row.data();
    size_t size = rowBytes;
    if (pack) {
      size = PackBits(row.data(), rowBytes, packed.data());
      if (size == 0)
        return WithDetail(detail, kTiffParseError, "row " + std::to_string(r + 1) + " packs to nothing");
      data = packed.data();
    }
    s.Escape().Text("*b").Number(static_cast<long long>(size)).Text("W");
    if (!s.WriteTo(out.get()) || std::fwrite(data, 1, size, out.get()) != size) return cannotWrite();
  }
  s.Escape().Text("*rC");
  s.Escape().Text("%0B");
  if (!s.WriteTo(out.get())) return cannotWrite();
  if (!base::CloseFile(std::move(out))) return cannotWrite();
  removeOnFailure.Keep();
  return kTiffOk;
}

}  // namespace orvella::imaging
