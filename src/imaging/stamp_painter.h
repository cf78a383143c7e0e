#pragma once
// The painters behind RenderStamp, on a canvas of the drawing library; for the
// imaging layer and its tests.
#include "imaging/stamp_canvas.h"
#include "imaging/stamp_fonts.h"
#include "imaging/stamp_renderer.h"

namespace orvella::imaging {

// The font a stamp's font description asks for (its height is not used: the
// stamp's point size is).
FontRequest StampFontRequest(const settings::LogFont& font);

// Paints stamp onto a fresh surface at dpi with today's date. For a simple
// stamp, layout (when given) receives where everything went; an image stamp
// resampled to dpi goes through a file in scratch. False for an unknown stamp
// type or when the painter fails.
bool PaintStamp(const settings::StampSetting& stamp, int dpi, const StampDate& today, StampCanvas& canvas,
                const std::filesystem::path& scratch, StampLayout* layout = nullptr);

}  // namespace orvella::imaging
