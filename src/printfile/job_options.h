#pragma once
// What the print-file writers need to know about one job.
#include <array>
#include <string>

namespace orvella::printfile {

// Printer classes as far as the finishing commands go.
inline constexpr int kPrinterClassWide = 0;  // wide-format printer with a folding unit
inline constexpr int kPrinterClassA2 = 1;    // A2 printer with a finisher

// The finishing of an A2-or-smaller printer (kPrinterClassA2).
struct A2Finishing {
  int staple = 0;  // StapleMode: 0 none, 1..5
  int punch = 0;   // PunchMode: 0 none, 1..3
  int duplex = 0;  // DuplexMode: 0 single-sided, 1 both sides, 2 flip
  int zFold = 0;   // ZFoldMode: 0 none, 1..3
  int twoUp = 0;
  int autoPaper = 0;
  int autoPaperPercent = 0;
};

struct RasterJobOptions {
  int freeSizeWidth = 0;
  int freeSizeHeight = 0;
  std::string trayName;       // value of the "tray" option
  int freeSizeFlag = 0;       // non-zero: write "freesize" (class 0 only)
  int programNumber = 0;      // 0: no program selection
  double xMagnification = 0;  // written when non-zero
  double yMagnification = 0;
  int landscape = 0;
  int fit = 0;
  int errorPrint = 0;
  int foldType = 0;  // 0: no fold
  int foldMargin = 0;
  A2Finishing finishing;
  int quantity = 0;      // copies for the finisher, written when 2 or more
  int resolution = 0;    // dots per inch
  int printerClass = 0;  // kPrinterClassWide, kPrinterClassA2, anything else: no finishing
};

struct PlotJobOptions {
  int paperWidth = 0;     // mm
  int paperHeight = 0;    // mm; the cut length on a roll
  int programNumber = 0;  // 0: no program selection
  int trayNumber = 0;
  int rollFlag = 0;  // non-zero: write the roll size command
  double scale = 0;  // percent
  double secondScale = 0;
  double firstScale = 0;
  std::array<std::string, 3> stampFiles;  // RTL stamp blocks to append; empty: none
  int foldType = 0;
  int foldMargin = 0;
};

}  // namespace orvella::printfile
