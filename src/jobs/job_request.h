#pragma once
// What travels with one job: the request the scan hands to the worker, and
// the worker's own context that the conversion and transfer steps read.
#include <cstddef>
#include <string>

#include "settings/input_settings.h"
#include "settings/printer_settings.h"

namespace orvella::jobs {

// Built by the scan; a snapshot, so later edits of the settings do not reach
// a running job.
struct JobRequest {
  settings::InputFolderSetting folder;
  std::string sourcePath;  // full path of the source file
};

// The tray or roll chosen for the job.
struct JobTray {
  std::string name;  // at most 15 characters
  double widthMm = 0;
  double lengthMm = 0;
};

// Written only by the worker thread during its job.
struct CurrentJob {
  settings::InputFolderSetting folder;  // the copy count is folder.quantity
  settings::PrinterSetting printer;
  std::size_t printerIndex = 0;  // the printer's position in the printer list: its memory entry
  JobTray tray;
  double outputWidthMm = 0;
  double outputLengthMm = 0;
};

}  // namespace orvella::jobs
