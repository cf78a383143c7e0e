#include "base/units.h"

namespace orvella::base {

int MmToDots(double mm, int dpi) { return static_cast<int>(dpi * mm * (1.0 / 25.4) + 0.5); }

double DotsToMm(int dots, int dpi) { return dots * 25.4 / dpi; }

int PointsToDots(double points, int dpi) { return static_cast<int>(points * dpi / 72 + 0.5); }

}  // namespace orvella::base
