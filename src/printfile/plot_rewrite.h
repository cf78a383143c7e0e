#pragma once
// Writing a plot behind the program's own set-up: the set-up commands near
// its start and the page ends near its end are removed, and a new set-up
// (copies, input window, scale, rotation) goes in front.
#include <filesystem>
#include <string>

#include "printfile/plot_scan.h"

namespace orvella::printfile {

// ESC %0B BP, IN, IP, SC, RO and PA0,0 from the centred frame.
std::string PlotPrefix(const PlotScan& scan, int copies);

// Streams plot into output behind PlotPrefix. False, with the cause in
// detail, when a file cannot be read or written.
bool RewritePlot(const std::filesystem::path& plot, const std::filesystem::path& output, const PlotScan& scan,
                 int copies, std::string* detail = nullptr);

}  // namespace orvella::printfile
