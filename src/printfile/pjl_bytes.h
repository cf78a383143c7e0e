#pragma once
// Byte strings shared by the print-file writers and the reader.
#include <string_view>

namespace orvella::printfile {

inline constexpr std::string_view kUniversalExit = "\x1b%-12345X";
// Ends every print file, raster or plot.
inline constexpr std::string_view kJobTrailer = "PG;\x1b%-12345X@PJL\n@PJL EOJ\n@PJL RESET\n";
// Follows the plot data and each stamp block of a plot file.
inline constexpr std::string_view kPlotPartEnd = "IW;IN;";
// Printer escape commands are ESC DC2 ... ESC SP.
inline constexpr std::string_view kEscapeStart = "\x1b\x12";
inline constexpr std::string_view kEscapeEnd = "\x1b ";

}  // namespace orvella::printfile
