#pragma once
// What the page conversion decided for one TIFF job, as the page chain needs
// it: how to compose, turn and scale the pages, where the stamps go, and the
// values that are only passed on to the print-file header.
#include <array>
#include <utility>

#include "imaging/stamp_placement.h"
#include "printfile/job_options.h"

namespace orvella::imaging {

struct PageConversionRequest {
  // On: the program resamples to the header's resolution and magnification
  // itself; off: the printer is asked to scale.
  bool hostMagnification = false;
  double magnification = 100;  // percent
  double sheetWidthMm = 0;     // in the output orientation
  double sheetHeightMm = 0;
  int rotation = kRotateNone;     // RotationCode
  bool model02LongSheet = false;  // MODEL_02 with MODEL02_ROTATION on
  std::array<StampPlacement, 3> stamps;

  // The print-file header; its resolution (dots per inch, the printer
  // model's) is the target of the conversion. The page chain decides the
  // magnifications, fit and quantity, may override the landscape flag, and
  // passes the finishing and quantity on for a multi-page file only.
  printfile::RasterJobOptions header;

  // The angle that turns a stamp back against the page's rotation, so that
  // it reads upright once the page is turned; -1 for a code out of range.
  int StampAngle() const;
  // The clockwise angle of the rotation code; -1 for a code out of range.
  int RotationAngle() const;
};

// What a whole multi-page file adds to the request.
struct MultiPageOptions {
  bool stampFirstPageOnly = false;  // MULTITIFF_STAMP_TOPPAGEONLY
  // The sheet the pages are composed on when two pages share a sheet.
  double twoUpSheetWidthMm = 0;
  double twoUpSheetHeightMm = 0;
};

// The sheet, width and height in mm, that a job's stamps are placed on: the
// whole two-up sheet when the pages of a multi-page job (multi non-null)
// share one, else the request's sheet.
std::pair<double, double> StampSheetMm(const PageConversionRequest& request, const MultiPageOptions* multi);

}  // namespace orvella::imaging
