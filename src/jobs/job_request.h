#pragma once
// What travels with one job: the request the scan hands to the worker, and
// the worker's own context that the conversion and transfer steps read.
#include <cstddef>
#include <string>

#include "jobs/exclusive_open.h"
#include "settings/input_settings.h"
#include "settings/printer_settings.h"

namespace orvella::jobs {

// Built by the scan; a snapshot, so later edits of the settings do not reach
// a running job.
struct JobRequest {
  settings::InputFolderSetting folder;
  std::string sourcePath;  // full path of the source file
  FileStamp stamp;         // the file as the scan found it: the job takes only that file
};

// The tray or roll chosen for the job.
struct JobTray {
  std::string name;  // at most 15 characters
  double widthMm = 0;
  double lengthMm = 0;
};

// What the conversion of the last unit decided, beyond printer and tray.
struct UnitDecision {
  int printerClass = 0;  // 0 wide-format, 1 A2-or-smaller (the job header's printer class)
  int trayNumber = 0;
  bool roll = false;
  double magnification = 100;  // percent
  int rotation = 0;            // output rotation code: 0 none, 1 90, 2 270, 3 180 degrees
  bool rotateFlag = false;     // the paper lies the other way than the image
  int foldType = 0;
  int foldMargin = 0;
  int pageAngle = 0;      // plots: the page's turn, degrees
  int extraRotation = 0;  // plots: added to the written rotation, degrees
};

// Written only by the worker thread during its job.
struct CurrentJob {
  settings::InputFolderSetting folder;  // the copy count is folder.quantity
  settings::PrinterSetting printer;
  std::size_t printerIndex = 0;  // the printer's position in the printer list: its memory entry
  JobTray tray;
  double outputWidthMm = 0;
  double outputLengthMm = 0;
  UnitDecision decision;
};

}  // namespace orvella::jobs
