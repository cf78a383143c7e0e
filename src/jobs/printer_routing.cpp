#include "jobs/printer_routing.h"

#include "jobs/paper_sizes.h"

namespace orvella::jobs {

PrinterClass RoutePage(const settings::InputFolderSetting& folder, const settings::HiddenSettings& hidden,
                       int marginPlus, double w, double h, double magnification) {
  if (hidden.enablePaperSizeB) return PrinterClass::kA2;
  if (!folder.widePrinterName.empty() && !folder.a2PrinterName.empty()) {
    const auto size =
        SmallestFittingSize(w * magnification / 100, h * magnification / 100, marginPlus, false);
    // Threshold A2 sends A2 and smaller (index 2 and up), A3 from 3, A4 only 4.
    const int smallestForA2 = static_cast<int>(folder.a2Threshold) + kSizeA2;
    return size && *size >= smallestForA2 ? PrinterClass::kA2 : PrinterClass::kWide;
  }
  return folder.widePrinterName.empty() ? PrinterClass::kA2 : PrinterClass::kWide;
}

bool WantsWholeFile(const settings::InputFolderSetting& folder, const settings::HiddenSettings& hidden,
                    PrinterClass routed, int pages) {
  if (routed != PrinterClass::kA2) return false;
  if (folder.staple != settings::StapleMode::kNone || folder.duplex != settings::DuplexMode::kNone ||
      folder.twoUp)
    return pages >= 2 || folder.singleTiffA2Option;
  return folder.autoPaper || folder.punch != settings::PunchMode::kNone ||
         (folder.zFold != settings::ZFoldMode::kNone && hidden.enableZFold);
}

}  // namespace orvella::jobs
