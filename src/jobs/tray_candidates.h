#pragma once
// The trays and rolls of a printer that a page may be printed on, built from
// its printer setting (for an A2-or-smaller printer with automatic tray
// structure, after the printer's information has been applied to it).
#include <cstdint>
#include <string>
#include <vector>

#include "settings/printer_settings.h"

namespace orvella::jobs {

// Set in every candidate's fold capability; the tray choice asks for it.
inline constexpr uint32_t kAnyTrayBit = 0x80000000u;

struct TrayCandidate {
  std::string name;  // written into the job header: "1" … "12", "C", "C2", or the A2 tray's number
  int trayNumber = 0;
  int sizeIndex = -1;  // standard size of exactly width x length, -1 for a roll or another size
  double width = 0;    // across the feed, mm
  double length = 0;   // mm; for a roll, the cut length once chosen
  bool roll = false;
  double minLength = 0;  // cut length limits of a roll
  double maxLength = 0;
  settings::PaperType paperType = settings::PaperType::kPlain;
  uint32_t foldCapability = kAnyTrayBit;
  double area = 0;
  bool rotate = false;  // the image is turned a quarter to lie on it
};

// A sheet candidate with its size index, area and fold capability filled.
TrayCandidate SheetCandidate(std::string name, int trayNumber, double width, double length,
                             settings::PaperType type);

// The candidates of a wide-format printer: per loaded roll width a sheet
// along and a sheet across it and the roll itself, or a sheet tray where the
// model takes one; empty slots, and sizes the model cannot hold in a slot,
// give none.
std::vector<TrayCandidate> WideTrayCandidates(const settings::PrinterSetting& printer);

// One sheet candidate per loaded tray of an A2-or-smaller printer, up to the
// model's highest tray.
std::vector<TrayCandidate> A2TrayCandidates(const settings::PrinterSetting& printer);

}  // namespace orvella::jobs
