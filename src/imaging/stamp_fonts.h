#pragma once
// Fonts for stamp text: a font description resolved through fontconfig to a
// cairo scaled font with integer (hinted) metrics and no antialiasing, so a
// measured row is exactly as many pixels as the drawn one.
// Inside the imaging layer only: other layers use stamp_renderer.h, which
// needs no drawing library.
#include <cairo.h>

#include <string>
#include <string_view>

namespace orvella::imaging {

// The face used when a description names no face or one this machine lacks.
inline constexpr const char* kDefaultStampFace = "IPAPGothic";

// What a stamp's font description asks for.
struct FontRequest {
  std::string face;  // UTF-8 face name; empty = the default face
  int weight = 0;    // 1..1000 as in the description; 0 = normal
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool japanese = false;  // Shift-JIS character set: prefer faces that cover Japanese
};

// The family fontconfig picks for request (after the Windows Japanese face
// aliases and the default-face fallback).
std::string MatchedFamily(const FontRequest& request);

// One font at one pixel size (the em height). Move-only owner of a cairo
// scaled font; ok() is false when no font could be loaded at all.
class StampFont {
 public:
  StampFont(const FontRequest& request, int pixelSize);
  ~StampFont();
  StampFont(StampFont&& other) noexcept;
  StampFont& operator=(StampFont&& other) noexcept;
  StampFont(const StampFont&) = delete;
  StampFont& operator=(const StampFont&) = delete;

  bool ok() const { return scaled_ != nullptr; }
  cairo_scaled_font_t* Scaled() const { return scaled_; }

  // Whole pixels above and below the baseline; their sum is the row height.
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }

  // Advance width of text in pixels.
  int AdvanceWidth(std::string_view utf8) const;
  // Right-side bearing of the character (advance − left bearing − ink width),
  // negative when the glyph reaches past its advance; 0 for a glyph without ink.
  int RightBearing(char32_t ch) const;

  // Underline and strike-out bars (top offset from the baseline, downwards
  // positive, and thickness, in pixels); thickness 0 when not requested.
  struct Bar {
    int offset = 0;
    int thickness = 0;
  };
  Bar Underline() const { return underline_; }
  Bar StrikeOut() const { return strikeOut_; }

 private:
  cairo_scaled_font_t* scaled_ = nullptr;
  int ascent_ = 0;
  int descent_ = 0;
  Bar underline_;
  Bar strikeOut_;
};

// Size of text set in font at points and dpi: the advance width widened by the
// absolute right bearing of the last character, and ascent + descent, in mm.
struct TextSizeMm {
  double width = 0;
  double height = 0;
};
TextSizeMm MeasureText(std::string_view utf8, const FontRequest& font, int points, int dpi);

}  // namespace orvella::imaging
