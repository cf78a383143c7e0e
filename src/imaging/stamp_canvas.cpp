#include "imaging/stamp_canvas.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "base/units.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_page_info.h"

namespace orvella::imaging {
namespace {

using base::MmToDots;

struct CairoDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;

// cairo packs A1 pixels into native 32-bit words, first pixel in the least
// significant bit on little-endian machines; TIFF rows are most significant
// bit first. This table turns one order into the other.
constexpr std::array<uint8_t, 256> kReversedBits = [] {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    int r = 0;
    for (int b = 0; b < 8; ++b) r |= ((i >> b) & 1) << (7 - b);
    table[i] = static_cast<uint8_t>(r);
  }
  return table;
}();
constexpr bool kCairoLsbFirst = std::endian::native == std::endian::little;

inline uint8_t CairoToTiff(uint8_t b) { return kCairoLsbFirst ? kReversedBits[b] : b; }
inline uint8_t TiffToCairo(uint8_t b) { return kCairoLsbFirst ? kReversedBits[b] : b; }

// Pen width in whole pixels; a zero-width pen still draws one pixel.
int PenPixels(double widthMm, int dpi) { return std::max(1, base::MmToDots(widthMm, dpi)); }

// Pixel coordinates name pixel centres (pixel x covers x − ½ .. x + ½), as the
// stamp geometry assumes; cairo's pixel x covers x .. x + 1.
constexpr double kCentre = 0.5;

void EllipticArc(cairo_t* cr, double cx, double cy, double rx, double ry, double from, double to) {
  if (rx <= 0 || ry <= 0) {
    cairo_line_to(cr, cx, cy);
    return;
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, from, to);
  cairo_restore(cr);
}

}  // namespace

ScaledRect FitScaled(int bitmapWidth, int bitmapHeight, int targetWidth, int targetHeight) {
  if (bitmapWidth <= 0 || bitmapHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return {};
  int64_t width = targetWidth;
  int64_t height = targetHeight;
  // targetHeight / bitmapHeight > targetWidth / bitmapWidth, compared exactly.
  if (int64_t{targetHeight} * bitmapWidth > int64_t{targetWidth} * bitmapHeight) {
    height = int64_t{targetWidth} * bitmapHeight / bitmapWidth;
  } else {
    width = int64_t{targetHeight} * bitmapWidth / bitmapHeight;
  }
  return {static_cast<int>((targetWidth - width) / 2), static_cast<int>((targetHeight - height) / 2),
          static_cast<int>(width), static_cast<int>(height)};
}

StampCanvas::~StampCanvas() { Destroy(); }

StampCanvas::StampCanvas(StampCanvas&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      dpi_(std::exchange(other.dpi_, 0)) {}

StampCanvas& StampCanvas::operator=(StampCanvas&& other) noexcept {
  if (this != &other) {
    Destroy();
    surface_ = std::exchange(other.surface_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    dpi_ = std::exchange(other.dpi_, 0);
  }
  return *this;
}

void StampCanvas::Destroy() {
  if (surface_) cairo_surface_destroy(surface_);
  surface_ = nullptr;
  width_ = height_ = dpi_ = 0;
}

bool StampCanvas::Create(double widthMm, double heightMm, int dpi) {
  Destroy();
  if (dpi < 1) return false;
  return CreatePixels(base::MmToDots(widthMm, dpi), base::MmToDots(heightMm, dpi), dpi);
}

bool StampCanvas::CreatePixels(int width, int height, int dpi) {
  Destroy();
  dpi_ = dpi;
  // cairo refuses sizes above its pixel limit itself; an empty bitmap is
  // refused here, as it could not be written as a TIFF.
  if (width < 1 || height < 1) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A1, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  surface_ = surface;
  width_ = width;
  height_ = height;
  return true;
}

bool StampCanvas::LoadTiff(const std::filesystem::path& path) {
  Destroy();
  TiffFile file(path, "r");
  TiffPageInfo info;
  if (!file || CheckPageHeader(file, info) != kTiffOk) return false;
  const int dpi = TruncateDpi(ResolutionDpi(info.xResolution, info.resolutionUnit));
  if (dpi < 1 || info.width > INT32_MAX || info.length > INT32_MAX) return false;
  if (!CreatePixels(static_cast<int>(info.width), static_cast<int>(info.length), dpi)) return false;

  std::vector<uint8_t> row(RowBytes(info.width));
  unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  cairo_surface_flush(surface_);
  for (uint32_t y = 0; y < info.length; ++y) {
    if (!file.ReadRow(row.data(), y)) {
      Destroy();
      return false;
    }
    unsigned char* dst = data + static_cast<size_t>(y) * stride;
    for (size_t i = 0; i < row.size(); ++i) dst[i] = TiffToCairo(row[i]);
  }
  MarkDirty();
  // Black stays black whichever way the file stores it.
  if (info.photometric == PHOTOMETRIC_MINISBLACK) Invert();
  return true;
}

void StampCanvas::MarkDirty() const { cairo_surface_mark_dirty(surface_); }

cairo_t* StampCanvas::BeginDrawing() const {
  if (!surface_) return nullptr;
  cairo_t* cr = cairo_create(surface_);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  return cr;
}

bool StampCanvas::DrawText(double xMm, double yMm, std::string_view utf8, const FontRequest& font,
                           int points) {
  CairoPtr cr(BeginDrawing());
  if (!cr) return false;
  StampFont stampFont(font, base::PointsToDots(points, dpi_));
  if (!stampFont.ok()) return false;
  const int x = base::MmToDots(xMm, dpi_);
  const int baseline = base::MmToDots(yMm, dpi_) + stampFont.Ascent();
  std::string text(utf8);
  cairo_set_scaled_font(cr.get(), stampFont.Scaled());
  cairo_move_to(cr.get(), x, baseline);
  cairo_show_text(cr.get(), text.c_str());
  for (StampFont::Bar bar : {stampFont.Underline(), stampFont.StrikeOut()}) {
    if (bar.thickness == 0) continue;
    cairo_rectangle(cr.get(), x, baseline + bar.offset, stampFont.AdvanceWidth(text), bar.thickness);
    cairo_fill(cr.get());
  }
  return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

bool StampCanvas::DrawLine(double x0, double y0, double x1, double y1, double widthMm) {
  CairoPtr cr(BeginDrawing());
  if (!cr) return false;
  cairo_set_line_cap(cr.get(), CAIRO_LINE_CAP_BUTT);
  cairo_set_line_width(cr.get(), PenPixels(widthMm, dpi_));
  cairo_move_to(cr.get(), base::MmToDots(x0, dpi_) + kCentre, base::MmToDots(y0, dpi_) + kCentre);
  cairo_line_to(cr.get(), base::MmToDots(x1, dpi_) + kCentre, base::MmToDots(y1, dpi_) + kCentre);
  cairo_stroke(cr.get());
  return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

// The box's right and bottom pixel columns are outside the figure, as with
// the platform's rectangle and ellipse outlines.
bool StampCanvas::DrawEllipse(double left, double top, double right, double bottom, double widthMm) {
  CairoPtr cr(BeginDrawing());
  if (!cr) return false;
  const double l = base::MmToDots(left, dpi_) + kCentre, t = base::MmToDots(top, dpi_) + kCentre;
  const double r = base::MmToDots(right, dpi_) - 1 + kCentre, b = base::MmToDots(bottom, dpi_) - 1 + kCentre;
  cairo_new_sub_path(cr.get());
  EllipticArc(cr.get(), (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2, 0, 2 * std::numbers::pi);
  cairo_close_path(cr.get());
  cairo_set_line_width(cr.get(), PenPixels(widthMm, dpi_));
  cairo_stroke(cr.get());
  return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

bool StampCanvas::DrawRectangle(double left, double top, double right, double bottom, double widthMm) {
  CairoPtr cr(BeginDrawing());
  if (!cr) return false;
  const double l = base::MmToDots(left, dpi_) + kCentre, t = base::MmToDots(top, dpi_) + kCentre;
  const double r = base::MmToDots(right, dpi_) - 1 + kCentre, b = base::MmToDots(bottom, dpi_) - 1 + kCentre;
  cairo_rectangle(cr.get(), l, t, r - l, b - t);
  cairo_set_line_width(cr.get(), PenPixels(widthMm, dpi_));
  cairo_stroke(cr.get());
  return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

bool StampCanvas::DrawRoundRect(double left, double top, double right, double bottom, double widthMm) {
  CairoPtr cr(BeginDrawing());
  if (!cr) return false;
  const double l = base::MmToDots(left, dpi_) + kCentre, t = base::MmToDots(top, dpi_) + kCentre;
  const double r = base::MmToDots(right, dpi_) - 1 + kCentre, b = base::MmToDots(bottom, dpi_) - 1 + kCentre;
  // Corner ellipse of a quarter of the box, limited to the box itself.
  const double rx = std::min(base::MmToDots((right - left) / 4, dpi_) / 2.0, (r - l) / 2);
  const double ry = std::min(base::MmToDots((bottom - top) / 4, dpi_) / 2.0, (b - t) / 2);
  constexpr double kPi = std::numbers::pi;
  cairo_new_sub_path(cr.get());
  EllipticArc(cr.get(), r - rx, t + ry, rx, ry, -kPi / 2, 0);
  EllipticArc(cr.get(), r - rx, b - ry, rx, ry, 0, kPi / 2);
  EllipticArc(cr.get(), l + rx, b - ry, rx, ry, kPi / 2, kPi);
  EllipticArc(cr.get(), l + rx, t + ry, rx, ry, kPi, 3 * kPi / 2);
  cairo_close_path(cr.get());
  cairo_set_line_width(cr.get(), PenPixels(widthMm, dpi_));
  cairo_stroke(cr.get());
  return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

bool StampCanvas::SaveTiff(const std::filesystem::path& path) const {
  if (!surface_) return false;
  TiffFile file(path, "w");
  if (!file) return false;
  TIFF* t = file.get();
  bool ok = TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width_)) &&
            TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height_)) &&
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1) &&
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) &&
            TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1) &&
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(height_)) &&
            TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
            TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<double>(dpi_)) &&
            TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<double>(dpi_)) &&
            TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  std::vector<uint8_t> row(RowBytes(static_cast<uint32_t>(width_)));
  for (int y = 0; ok && y < height_; ++y) {
    CopyRow(y, row.data());
    ok = file.WriteRow(row.data(), static_cast<uint32_t>(y));
  }
  ok = file.Close() && ok;
  if (!ok) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  return ok;
}

void StampCanvas::DrawScaled(cairo_t* target, int targetWidth, int targetHeight) const {
  if (!surface_ || !target) return;
  const ScaledRect rect = FitScaled(width_, height_, targetWidth, targetHeight);
  if (rect.width <= 0 || rect.height <= 0) return;
  cairo_save(target);
  cairo_rectangle(target, rect.x, rect.y, rect.width, rect.height);
  cairo_clip(target);
  cairo_set_source_rgb(target, 1, 1, 1);
  cairo_paint(target);
  // The bitmap's bits are the ink's coverage: paint black through it,
  // averaged down (or enlarged) to the drawn size.
  cairo_translate(target, rect.x, rect.y);
  cairo_scale(target, static_cast<double>(rect.width) / width_, static_cast<double>(rect.height) / height_);
  cairo_set_source_rgb(target, 0, 0, 0);
  cairo_pattern_t* mask = cairo_pattern_create_for_surface(surface_);
  cairo_pattern_set_filter(mask, CAIRO_FILTER_GOOD);
  cairo_mask(target, mask);
  cairo_pattern_destroy(mask);
  cairo_restore(target);
}

void StampCanvas::Invert() {
  if (!surface_) return;
  cairo_surface_flush(surface_);
  unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  const size_t rowBytes = (static_cast<size_t>(width_) + 7) / 8;
  const int spare = static_cast<int>(rowBytes * 8 - width_);
  // Bits past the width stay clear so the row's padding never turns black.
  const uint8_t lastMask = TiffToCairo(static_cast<uint8_t>(0xFF << spare));
  for (int y = 0; y < height_; ++y) {
    unsigned char* row = data + static_cast<size_t>(y) * stride;
    for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(~row[i]);
    row[rowBytes - 1] &= lastMask;
  }
  MarkDirty();
}

double StampCanvas::WidthMm() const { return dpi_ ? base::DotsToMm(width_, dpi_) : 0; }
double StampCanvas::HeightMm() const { return dpi_ ? base::DotsToMm(height_, dpi_) : 0; }

bool StampCanvas::Pixel(int x, int y) const {
  if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  cairo_surface_flush(surface_);
  const unsigned char* row = cairo_image_surface_get_data(surface_) +
                             static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_);
  return CairoToTiff(row[x / 8]) & (0x80 >> (x % 8));
}

void StampCanvas::CopyRow(int y, uint8_t* out) const {
  const size_t rowBytes = (static_cast<size_t>(width_) + 7) / 8;
  cairo_surface_flush(surface_);
  const unsigned char* row = cairo_image_surface_get_data(surface_) +
                             static_cast<size_t>(y) * cairo_image_surface_get_stride(surface_);
  for (size_t i = 0; i < rowBytes; ++i) out[i] = CairoToTiff(row[i]);
  const int spare = static_cast<int>(rowBytes * 8 - width_);
  out[rowBytes - 1] &= static_cast<uint8_t>(0xFF << spare);
}

}  // namespace orvella::imaging
