#include "imaging/stamp_fonts.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

#include "base/units.h"

namespace orvella::imaging {
namespace {

// Stamps saved on the original platform name its Japanese system faces; this
// machine has the IPA fonts in their place.
constexpr const char* kFaceAliases = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>ＭＳ Ｐゴシック</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>MS PGothic</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>ＭＳ ゴシック</family><prefer><family>IPAGothic</family></prefer></alias>
  <alias binding="same"><family>MS Gothic</family><prefer><family>IPAGothic</family></prefer></alias>
  <alias binding="same"><family>MS UI Gothic</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>ＭＳ Ｐ明朝</family><prefer><family>IPAPMincho</family></prefer></alias>
  <alias binding="same"><family>MS PMincho</family><prefer><family>IPAPMincho</family></prefer></alias>
  <alias binding="same"><family>ＭＳ 明朝</family><prefer><family>IPAMincho</family></prefer></alias>
  <alias binding="same"><family>MS Mincho</family><prefer><family>IPAMincho</family></prefer></alias>
</fontconfig>
)";

struct ConfigDeleter {
  void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

// The system configuration plus the aliases, built once and released at
// exit; fontconfig's global configuration is left as it is.
FcConfig* StampFontConfig() {
  static const std::unique_ptr<FcConfig, ConfigDeleter> config = [] {
    std::unique_ptr<FcConfig, ConfigDeleter> c(FcInitLoadConfigAndFonts());
    if (c) FcConfigParseAndLoadFromMemory(c.get(), reinterpret_cast<const FcChar8*>(kFaceAliases), FcFalse);
    return c;
  }();
  return config.get();
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

PatternPtr MatchFont(const FontRequest& request, int pixelSize) {
  FcConfig* config = StampFontConfig();
  if (!config) return nullptr;
  PatternPtr pattern(FcPatternCreate());
  auto addFamily = [&](const std::string& family) {
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  };
  if (!request.face.empty()) addFamily(request.face);
  // Listed strongly right after the requested face, so an unknown face falls
  // back to the Japanese gothic face rather than to the system's sans-serif.
  addFamily(kDefaultStampFace);
  int weight = request.weight > 0 ? std::min(request.weight, 1000) : 400;
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (request.japanese) FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, pixelSize);
  FcPatternAddBool(pattern.get(), FC_ANTIALIAS, FcFalse);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return PatternPtr(FcFontMatch(config, pattern.get(), &result));
}

int RoundPx(double v) { return static_cast<int>(std::lround(v)); }

// The last Unicode character of UTF-8 text (0 when empty).
char32_t LastCharacter(std::string_view utf8) {
  if (utf8.empty()) return 0;
  size_t start = utf8.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(utf8[start]) & 0xC0) == 0x80) --start;
  auto lead = static_cast<unsigned char>(utf8[start]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  char32_t ch = extra == 0 ? lead : lead & (0x3F >> extra);
  for (size_t i = start + 1; i < utf8.size(); ++i)
    ch = (ch << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
  return ch;
}

std::string EncodeUtf8(char32_t ch) {
  std::string out;
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
  return out;
}

}  // namespace

std::string MatchedFamily(const FontRequest& request) {
  PatternPtr match = MatchFont(request, 16);
  FcChar8* family = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(family);
}

StampFont::StampFont(const FontRequest& request, int pixelSize) {
  if (pixelSize <= 0) return;
  PatternPtr match = MatchFont(request, pixelSize);
  if (!match) return;
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match.get());
  cairo_matrix_t fontMatrix;
  cairo_matrix_t ctm;
  cairo_matrix_init_scale(&fontMatrix, pixelSize, pixelSize);
  // An italic asked of a face without one comes as a shear that fontconfig
  // prescribes (y up) and cairo-ft leaves to the caller.
  FcMatrix* shear = nullptr;
  if (FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &shear) == FcResultMatch && shear) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, shear->xx, -shear->yx, -shear->xy, shear->yy, 0, 0);
    cairo_matrix_multiply(&fontMatrix, &m, &fontMatrix);
  }
  cairo_matrix_init_identity(&ctm);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &fontMatrix, &ctm, options);
  cairo_font_options_destroy(options);
  cairo_font_face_destroy(face);
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(scaled);
    return;
  }
  scaled_ = scaled;

  cairo_font_extents_t extents;
  cairo_scaled_font_extents(scaled_, &extents);
  ascent_ = static_cast<int>(std::ceil(extents.ascent));
  descent_ = static_cast<int>(std::ceil(extents.descent));

  FT_Face ft = cairo_ft_scaled_font_lock_face(scaled_);
  if (!ft) return;
  const double scale = static_cast<double>(pixelSize) / ft->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  // Row height as the platform's text measurement gives it: the font's
  // Windows ascent and descent, scaled and rounded.
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent_ = RoundPx(os2->usWinAscent * scale);
    descent_ = RoundPx(os2->usWinDescent * scale);
  }
  if (request.underline) {
    int thickness = std::max(1, RoundPx(ft->underline_thickness * scale));
    underline_ = {RoundPx(-ft->underline_position * scale) - thickness / 2, thickness};
  }
  if (request.strikeOut) {
    int thickness = os2 && os2->yStrikeoutSize > 0 ? RoundPx(os2->yStrikeoutSize * scale) : 0;
    thickness = std::max(1, thickness ? thickness : RoundPx(ft->underline_thickness * scale));
    int position =
        os2 && os2->yStrikeoutPosition > 0 ? RoundPx(os2->yStrikeoutPosition * scale) : ascent_ / 3;
    strikeOut_ = {-position, thickness};
  }
  cairo_ft_scaled_font_unlock_face(scaled_);
}

StampFont::~StampFont() {
  if (scaled_) cairo_scaled_font_destroy(scaled_);
}

StampFont::StampFont(StampFont&& other) noexcept
    : scaled_(std::exchange(other.scaled_, nullptr)),
      ascent_(other.ascent_),
      descent_(other.descent_),
      underline_(other.underline_),
      strikeOut_(other.strikeOut_) {}

StampFont& StampFont::operator=(StampFont&& other) noexcept {
  if (this != &other) {
    if (scaled_) cairo_scaled_font_destroy(scaled_);
    scaled_ = std::exchange(other.scaled_, nullptr);
    ascent_ = other.ascent_;
    descent_ = other.descent_;
    underline_ = other.underline_;
    strikeOut_ = other.strikeOut_;
  }
  return *this;
}

int StampFont::AdvanceWidth(std::string_view utf8) const {
  if (!scaled_ || utf8.empty()) return 0;
  std::string text(utf8);
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(scaled_, text.c_str(), &extents);
  return RoundPx(extents.x_advance);
}

int StampFont::RightBearing(char32_t ch) const {
  if (!scaled_ || ch == 0) return 0;
  std::string text = EncodeUtf8(ch);
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(scaled_, text.c_str(), &extents);
  if (extents.width <= 0) return 0;
  return RoundPx(extents.x_advance - extents.x_bearing - extents.width);
}

TextSizeMm MeasureText(std::string_view utf8, const FontRequest& font, int points, int dpi) {
  if (dpi <= 0) return {};
  StampFont stampFont(font, base::PointsToDots(points, dpi));
  if (!stampFont.ok()) return {};
  int width = stampFont.AdvanceWidth(utf8) + std::abs(stampFont.RightBearing(LastCharacter(utf8)));
  int height = stampFont.Ascent() + stampFont.Descent();
  return {base::DotsToMm(width, dpi), base::DotsToMm(height, dpi)};
}

}  // namespace orvella::imaging
