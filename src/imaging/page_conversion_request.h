#pragma once
// What the page conversion decided for one TIFF job, as the page chain needs
// it: how to compose, turn and scale the pages, where the stamps go, and the
// values that are only passed on to the print-file header.
#include <array>
#include <string>

#include "imaging/stamp_placement.h"

namespace orvella::imaging {

struct PageConversionRequest {
  // On: the program resamples to resolution and magnification itself; off:
  // the printer is asked to scale.
  bool hostMagnification = false;
  int resolution = 0;          // target dots per inch (the printer model's)
  double magnification = 100;  // percent
  double sheetWidthMm = 0;     // in the output orientation
  double sheetHeightMm = 0;
  int rotation = kRotateNone;     // RotationCode
  bool model02LongSheet = false;  // MODEL_02 with MODEL02_ROTATION on
  std::array<StampPlacement, 3> stamps;

  // For the print-file header (the landscape flag may be overridden on the way).
  int freeSizeWidth = 0;
  int freeSizeHeight = 0;
  std::string trayName;
  int freeSizeFlag = 0;
  int programNumber = 0;
  int landscape = 0;
  int errorPrint = 0;
  int foldType = 0;
  int foldMargin = 0;
  int printerClass = 0;

  // The angle that turns a stamp back against the page's rotation, so that
  // it reads upright once the page is turned; -1 for a code out of range.
  int StampAngle() const;
  // The clockwise angle of the rotation code; -1 for a code out of range.
  int RotationAngle() const;
};

// The finishing of an A2-or-smaller printer, copied into the header as is.
struct A2Finishing {
  int staple = 0;  // StapleMode
  int punch = 0;   // PunchMode
  int duplex = 0;  // DuplexMode
  int zFold = 0;   // ZFoldMode
  int twoUp = 0;
  int autoPaper = 0;
  int autoPaperPercent = 0;
};

// What a whole multi-page file adds to the request.
struct MultiPageOptions {
  A2Finishing finishing;
  int quantity = 1;
  bool stampFirstPageOnly = false;  // MULTITIFF_STAMP_TOPPAGEONLY
  // The sheet the pages are composed on when two pages share a sheet.
  double twoUpSheetWidthMm = 0;
  double twoUpSheetHeightMm = 0;
};

}  // namespace orvella::imaging
