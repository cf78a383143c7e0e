#pragma once
// Which of an input folder's two printers takes a unit of work, and whether
// a TIFF file goes to the printer as one job.
#include "settings/hidden_settings.h"
#include "settings/input_settings.h"

namespace orvella::jobs {

// The values are the printer classes of the job header.
enum class PrinterClass : int { kWide = 0, kA2 = 1 };

// The printer for an image of w x h mm printed at magnification percent.
PrinterClass RoutePage(const settings::InputFolderSetting& folder, const settings::HiddenSettings& hidden,
                       int marginPlus, double w, double h, double magnification);

// Given the routing of the first page and the file's page count: true when
// the A2-or-smaller printer takes every page and copy as one job for its
// finishing.
bool WantsWholeFile(const settings::InputFolderSetting& folder, const settings::HiddenSettings& hidden,
                    PrinterClass routed, int pages);

}  // namespace orvella::jobs
