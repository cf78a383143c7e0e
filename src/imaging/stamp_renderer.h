#pragma once
// Rendering one stamp onto a 1-bit surface: the date, image and simple
// (text-row) painters, and the stamp file written from it.
#include <filesystem>

#include "imaging/stamp_canvas.h"
#include "imaging/stamp_date.h"
#include "imaging/stamp_fonts.h"
#include "imaging/stamp_layout.h"
#include "settings/stamp_settings.h"

namespace orvella::imaging {

// The font a stamp's font description asks for (its height is not used: the
// stamp's point size is).
FontRequest StampFontRequest(const settings::LogFont& font);

// Paints stamp onto a fresh surface at dpi with today's date. For a simple
// stamp, layout (when given) receives where everything went. False for an
// unknown stamp type or when the painter fails (no surface, a missing or
// unusable image file, a failed resampling).
bool PaintStamp(const settings::StampSetting& stamp, int dpi, const StampDate& today, StampCanvas& canvas,
                StampLayout* layout = nullptr);

// Paints stamp and writes it to output as an uncompressed 1-bit TIFF.
bool RenderStamp(const settings::StampSetting& stamp, int dpi, const std::filesystem::path& output,
                 const StampDate& today = LocalToday());

}  // namespace orvella::imaging
