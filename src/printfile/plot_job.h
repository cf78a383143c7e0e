#pragma once
// Plot print files: PJL header, program and roll commands, HP-GL/2 set-up,
// the rewritten plot, the RTL stamp blocks, trailer.
#include <filesystem>
#include <string>

#include "printfile/job_options.h"

namespace orvella::printfile {

// The header up to and including the last "MS-1" command.
std::string BuildPlotJobHeader(const PlotJobOptions& options);

// Writes header, the plot file and each named stamp file (each followed by
// "IW;IN;") and the trailer to output. False, with nothing written, when
// CheckPlotJobOptions refuses the options; false (output left incomplete) when
// the output cannot be written or a source cannot be read. detail, when given,
// then receives why: the refused option, or the file and the system's words.
bool WritePlotJob(const std::filesystem::path& plot, const std::filesystem::path& output,
                  const PlotJobOptions& options, std::string* detail = nullptr);

}  // namespace orvella::printfile
