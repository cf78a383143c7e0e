#pragma once
// The PJL envelope a printer driver wraps around an HP-GL/2 plot.
#include <filesystem>
#include <string>

namespace orvella::printfile {

struct PlotHead {
  bool envelope = false;  // starts with ESC "%-12345"
  bool lfOnly = false;    // an LF comes before any CR in the first 16 bytes
};

// Reads the first 16 bytes. False, with the cause in detail, when the file
// cannot be read or is shorter than that.
bool ReadPlotHead(const std::filesystem::path& plot, PlotHead& head, std::string* detail = nullptr);

// Writes the plot inside the envelope to output: from the first ESC %0B
// through the last "PG;", with the 13 bytes at the first ESC %1A blanked.
// False, with the cause in detail, when either end is missing or a file
// cannot be read or written.
bool StripPlotEnvelope(const std::filesystem::path& plot, const std::filesystem::path& output,
                       std::string* detail = nullptr);

}  // namespace orvella::printfile
