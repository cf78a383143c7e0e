#include "imaging/page_conversion_request.h"

namespace orvella::imaging {

// An unknown code gives an angle no rotation accepts, so it fails loudly
// instead of printing the page unturned.
int PageConversionRequest::RotationAngle() const {
  switch (rotation) {
    case kRotateNone:
      return 0;
    case kRotate90:
      return 90;
    case kRotate270:
      return 270;
    case kRotate180:
      return 180;
    default:
      return -1;
  }
}

int PageConversionRequest::StampAngle() const {
  const int angle = RotationAngle();
  return angle <= 0 ? angle : 360 - angle;
}

std::pair<double, double> StampSheetMm(const PageConversionRequest& request, const MultiPageOptions* multi) {
  if (multi && request.header.finishing.twoUp != 0)
    return {multi->twoUpSheetWidthMm, multi->twoUpSheetHeightMm};
  return {request.sheetWidthMm, request.sheetHeightMm};
}

}  // namespace orvella::imaging
