#include "printfile/job_option_checks.h"

#include <cmath>

#include "base/fixed_format.h"

namespace orvella::printfile {
namespace {

constexpr int kMaxResolution = 9600;
constexpr double kMaxMagnification = 10;  // a factor: 1000 %
constexpr int kMaxCopies = 999;
constexpr int kMaxAutoPaperPercent = 1000;
constexpr int kMaxSizeMm = 100000;
constexpr size_t kMaxTrayNameBytes = 32;
constexpr double kMaxPlotScale = 10000;  // percent
constexpr int kMaxTrayNumber = 99;

std::string Range(const char* name, const std::string& value, const std::string& allowed) {
  return std::string(name) + " is " + value + "; it must be " + allowed;
}

std::optional<std::string> CheckInt(const char* name, int value, int low, int high) {
  if (value >= low && value <= high) return std::nullopt;
  return Range(name, std::to_string(value), std::to_string(low) + " to " + std::to_string(high));
}

// 0 means "not written"; anything else must be a sensible positive number.
std::optional<std::string> CheckFactor(const char* name, double value, double high) {
  if (value == 0 || (std::isfinite(value) && value > 0 && value <= high)) return std::nullopt;
  return Range(name, std::isfinite(value) ? base::FormatFixed(value, 3) : std::string("not a number"),
               "0 (not written) or above 0 up to " + base::FormatFixed(high, 0));
}

std::optional<std::string> CheckTrayName(const std::string& name) {
  if (name.size() > kMaxTrayNameBytes) {
    return "the tray name is " + std::to_string(name.size()) + " bytes long; at most " +
           std::to_string(kMaxTrayNameBytes) + " fit the print conditions";
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == ',' || byte < 0x20 || byte == 0x7F) {
      return "the tray name holds " +
             (c == ',' ? std::string("a comma") : "the control character " + std::to_string(byte)) +
             ", which would add commands to the print conditions";
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckRasterJobOptions(const RasterJobOptions& o) {
  for (auto check :
       {CheckTrayName(o.trayName), CheckInt("the resolution (dpi)", o.resolution, 1, kMaxResolution),
        CheckFactor("the x magnification", o.xMagnification, kMaxMagnification),
        CheckFactor("the y magnification", o.yMagnification, kMaxMagnification),
        CheckInt("the copy count", o.quantity, 0, kMaxCopies),
        CheckInt("the automatic paper percentage", o.finishing.autoPaperPercent, 0, kMaxAutoPaperPercent),
        CheckInt("the free size width (mm)", o.freeSizeWidth, 0, kMaxSizeMm),
        CheckInt("the free size height (mm)", o.freeSizeHeight, 0, kMaxSizeMm)}) {
    if (check) return check;
  }
  return std::nullopt;
}

std::optional<std::string> CheckPlotJobOptions(const PlotJobOptions& o) {
  for (auto check : {CheckInt("the paper width (mm)", o.paperWidth, 0, kMaxSizeMm),
                     CheckInt("the paper length (mm)", o.paperHeight, 0, kMaxSizeMm),
                     CheckInt("the tray number", o.trayNumber, 0, kMaxTrayNumber),
                     CheckFactor("the scale (%)", o.scale, kMaxPlotScale),
                     CheckFactor("the first scale (%)", o.firstScale, kMaxPlotScale),
                     CheckFactor("the second scale (%)", o.secondScale, kMaxPlotScale)}) {
    if (check) return check;
  }
  return std::nullopt;
}

}  // namespace orvella::printfile
