#pragma once
// Values a job header cannot carry. The options go into printer command lines
// as text, so a tray name with a comma or a control character would add
// commands of its own, and a resolution of 0 or a magnification of 1e9 would
// be sent as given. The writers refuse such options before writing anything.
#include <optional>
#include <string>

#include "printfile/job_options.h"

namespace orvella::printfile {

// Nothing when the options can be written; else a plain-English reason
// naming the option, its value and what it may be.
std::optional<std::string> CheckRasterJobOptions(const RasterJobOptions& options);
std::optional<std::string> CheckPlotJobOptions(const PlotJobOptions& options);

}  // namespace orvella::printfile
