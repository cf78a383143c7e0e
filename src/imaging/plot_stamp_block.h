#pragma once
// A job stamp as an RTL raster block placed on a plot's page.
#include <filesystem>
#include <string>

#include "imaging/convert_plot.h"

namespace orvella::imaging {

struct StampBlockPosition {
  int x = 0;  // 300-dpi units
  int y = 0;
};

// Where a stamp of width × height pixels (at the model's resolution and the
// plot's scale) goes on the page turned by the request's page angle.
StampBlockPosition PlotStampPosition(const StampPlacement& stamp, const PlotConversionRequest& request,
                                     int width, int height);

// Turns, scales and places one stamp into the RTL file rtl, using the work
// folder for the intermediate images. False with the cause in detail.
bool WritePlotStampBlock(const StampPlacement& stamp, const PlotConversionRequest& request,
                         const settings::WorkContext& context, const std::filesystem::path& rtl,
                         std::string& detail);

}  // namespace orvella::imaging
