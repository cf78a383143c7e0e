#include "jobs/plot_orientation.h"

#include "settings/printer_models.h"

namespace orvella::jobs {
namespace {

// Non-standard portrait plots longer than this are taken as landscape.
constexpr double kLongPortraitMm = 914;

int RotationAngle(int rotation) {
  switch (rotation) {
    case 1:
      return 90;
    case 2:
      return 270;
    case 3:
      return 180;
    default:
      return 0;
  }
}

}  // namespace

bool TurnsMeasuredPlot(const PlotShape& plot, const SizeTolerance& tolerance, int printerModel,
                       const settings::Preferences& preferences) {
  if (!plot.envelope || plot.lfOnly) return false;
  using settings::HdiDataDirection;
  const auto size = RecognizeStandardSize(plot.width, plot.height, tolerance);
  if (!size) return plot.width < plot.height && plot.height > kLongPortraitMm;
  if (*size == kSizeA0) return preferences.wideHdiA0DataDirection == HdiDataDirection::kLandscape;
  if (*size != kSizeA4) return false;
  const HdiDataDirection a4 = preferences.wideHdiA4DataDirection;
  if (printerModel == settings::kModel03Number || printerModel == settings::kModel01Number)
    return a4 == HdiDataDirection::kLandscape;
  return printerModel == settings::kModel05Number && a4 == HdiDataDirection::kPortrait;
}

int PlotPageAngle(double paperWidth, double paperLength, double width, double height, int rotation) {
  const int across = (paperLength <= paperWidth) != (height <= width) ? 90 : 0;
  return (across + RotationAngle(rotation)) % 360;
}

int PlotExtraRotation(const PlotShape& plot, int rotation) {
  if (!plot.envelope) return 0;
  const bool crLf = !plot.lfOnly;
  bool upsideDown = false;
  if (rotation == 0 || rotation == 3) {
    const bool portrait = plot.width < plot.height;
    upsideDown = portrait ? crLf : !crLf;
  } else if (rotation == 1 || rotation == 2) {
    const bool landscape = plot.height < plot.width;
    upsideDown = landscape ? crLf : !crLf;
  }
  return upsideDown ? 180 : 0;
}

}  // namespace orvella::jobs
