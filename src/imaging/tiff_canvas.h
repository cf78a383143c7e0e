#pragma once
// Placing a page on a sheet-sized canvas, row by row, into a repacked
// single-strip TIFF.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "imaging/tiff_page_info.h"
#include "imaging/tiff_repack.h"
#include "imaging/tiff_result.h"

namespace orvella::imaging {

// Called once per canvas row, in order, before the row is written. canvas
// holds the canvas width and length and the page's other values. The row may
// be changed; returning false aborts with code 11.
using CanvasRowHook =
    std::function<bool(const TiffPageInfo& canvas, uint32_t row, uint8_t* data, size_t bytes)>;

// Writes page (from 0) of input onto a canvas of widthMm x heightMm (at the
// page's X resolution for both axes; 0 x 0 keeps the page size) and writes
// output as a repacked TIFF, Group 4 when compress is set, else uncompressed.
// The page is centred and never cut: a canvas smaller than the page grows to
// it. MinIsBlack pages are inverted. pageInfo, when given, receives the page's
// header. The output takes the input's file times. A compressed page goes
// through a libtiff intermediate beside output ("<output>_00000" ...), which
// is always removed; an uncompressed one is written straight to output.
// detail, when given, receives the cause of a failure.
TiffResult PlaceOnCanvas(const std::filesystem::path& input, int page, const std::filesystem::path& output,
                         double widthMm, double heightMm, bool compress, TiffPageInfo* pageInfo = nullptr,
                         const CanvasRowHook& rowHook = {}, const FileHook& fileHook = {},
                         std::string* detail = nullptr);

}  // namespace orvella::imaging
