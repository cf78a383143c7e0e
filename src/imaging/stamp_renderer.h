#pragma once
// Rendering one stamp: the date, image and simple (text-row) painters, and the
// stamp file written from them. Callers need no drawing library's headers.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "imaging/stamp_date.h"
#include "imaging/stamp_layout.h"
#include "settings/stamp_settings.h"

namespace orvella::imaging {

// What a rendered stamp came to.
struct RenderedStamp {
  int widthPx = 0;
  int heightPx = 0;
  double widthMm = 0;
  double heightMm = 0;
  StampLayout layout;  // where everything of a simple stamp went
};

// Paints stamp at dpi with today's date and writes it to output as an
// uncompressed 1-bit TIFF. False for an unknown stamp type, when the painter
// fails (no surface, a missing or unusable image file, a failed resampling)
// or when the file cannot be written. rendered, when given, receives the size
// and layout.
bool RenderStamp(const settings::StampSetting& stamp, int dpi, const std::filesystem::path& output,
                 const StampDate& today = LocalToday(), RenderedStamp* rendered = nullptr);

// A stamp painted in memory: rows of (widthPx + 7) / 8 bytes, most
// significant bit first, a set bit black.
struct StampBitmap {
  RenderedStamp size;
  std::vector<uint8_t> bits;
};

// Paints stamp at dpi as RenderStamp does, without writing a file (the edit
// window's preview). scratch takes the resampled copy of an image stamp's
// picture while it is read. False when the painter fails.
bool RenderStampBitmap(const settings::StampSetting& stamp, int dpi, const std::filesystem::path& scratch,
                       StampBitmap& out, const StampDate& today = LocalToday());

}  // namespace orvella::imaging
