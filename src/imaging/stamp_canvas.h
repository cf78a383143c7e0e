#pragma once
// A 1-bit drawing surface for stamps: white background, black ink, all
// coordinates in millimetres at one resolution for both axes. Backed by a
// cairo A1 image surface drawn without antialiasing; a set bit is black.
// Inside the imaging layer only: other layers use stamp_renderer.h, which
// needs no drawing library.
#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "imaging/scaled_rect.h"
#include "imaging/stamp_fonts.h"

namespace orvella::imaging {

class StampCanvas {
 public:
  StampCanvas() = default;
  ~StampCanvas();
  StampCanvas(StampCanvas&& other) noexcept;
  StampCanvas& operator=(StampCanvas&& other) noexcept;
  StampCanvas(const StampCanvas&) = delete;
  StampCanvas& operator=(const StampCanvas&) = delete;

  // A white surface of the given size; any previous bitmap is discarded.
  // False, leaving the canvas not ready, when no surface can be made: a
  // resolution below 1, an empty size, or beyond cairo's pixel limit.
  bool Create(double widthMm, double heightMm, int dpi);

  // Replaces the surface by page 0 of a 1-bit TIFF, pixel for pixel, at the
  // file's X resolution. A page stored MinIsBlack is inverted so that black
  // stays black.
  bool LoadTiff(const std::filesystem::path& path);

  // Drawing fails, drawing nothing, while the canvas is not ready.
  // Text with its cell's top-left corner at (x, y).
  bool DrawText(double xMm, double yMm, std::string_view utf8, const FontRequest& font, int points);
  // A straight line with flat ends.
  bool DrawLine(double x0, double y0, double x1, double y1, double widthMm);
  // Outlines within the box left..right, top..bottom (the pen centred on the path).
  bool DrawEllipse(double left, double top, double right, double bottom, double widthMm);
  bool DrawRectangle(double left, double top, double right, double bottom, double widthMm);
  // Corners rounded with ellipses of a quarter of the box's width and height.
  bool DrawRoundRect(double left, double top, double right, double bottom, double widthMm);

  // Uncompressed single-strip MinIsWhite TIFF at the canvas resolution.
  bool SaveTiff(const std::filesystem::path& path) const;

  // Paints the stamp black on white into the target's area of
  // targetWidth × targetHeight pixels, fitted and centred (the preview).
  void DrawScaled(cairo_t* target, int targetWidth, int targetHeight) const;

  // Black becomes white and white black.
  void Invert();

  bool Ready() const { return surface_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Dpi() const { return dpi_; }
  double WidthMm() const;
  double HeightMm() const;

  // True when pixel (x, y), counted from the top-left, is black.
  bool Pixel(int x, int y) const;
  // Row y packed most significant bit first, (width + 7) / 8 bytes, bits
  // beyond the width cleared: the TIFF order of the row.
  void CopyRow(int y, uint8_t* out) const;

 private:
  void Destroy();
  bool CreatePixels(int width, int height, int dpi);
  // A cairo context for one drawing call, or null when not ready.
  cairo_t* BeginDrawing() const;
  void MarkDirty() const;

  cairo_surface_t* surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int dpi_ = 0;
};

}  // namespace orvella::imaging
