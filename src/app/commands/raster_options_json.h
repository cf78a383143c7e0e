#pragma once
// The keys of a raster print-file header in a command's JSON input, shared
// by raster-job (the header as given) and convert-tiff (the header as a job
// decides it, before the page chain adds the magnifications and fit).
#include "app/commands/json_fields.h"
#include "printfile/job_options.h"

namespace orvella::cli {

// Every field but xMagnification, yMagnification and fit.
void ReadRasterHeaderFields(JsonFields& read, printfile::RasterJobOptions& o);

}  // namespace orvella::cli
