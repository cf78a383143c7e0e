#pragma once
// The bilevel TIFF operations the page conversions, the stamp renderer and the
// plot-file rewrite are built from. All work on 1-bit rows, most significant
// bit first, a set bit black; none keeps state between calls.
#include "imaging/tiff_append.h"
#include "imaging/tiff_canvas.h"
#include "imaging/tiff_halftone.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_resample.h"
#include "imaging/tiff_result.h"
#include "imaging/tiff_rotate.h"
#include "imaging/tiff_rows.h"
#include "imaging/tiff_stamp_raster.h"
