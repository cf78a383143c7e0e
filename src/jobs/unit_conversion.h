#pragma once
// The conversions of one unit of work (a TIFF page, a whole TIFF file, one
// copy of a plot): each decides printer, tray, magnification, rotation and
// fold for the unit, fills the current job with that decision, and writes the
// print file through the page chain or the plot rewrite.
#include <filesystem>
#include <functional>

#include "base/failure.h"
#include "jobs/job_request.h"
#include "jobs/operation_settings.h"
#include "settings/work_folder.h"

namespace orvella::jobs {

// Fills the A2 trays of the job's copy of an A2-or-smaller printer with what
// the printer holds now; false with the message and cause on failure.
using TrayInformationSource = std::function<bool(settings::PrinterSetting& printer, base::Failure& failure)>;

struct ConversionEnvironment {
  const OperationSettings& settings;
  settings::WorkContext work;  // stamps and work files go into work.work
  // Empty: the printer's "info" file is fetched over FTP, as a job does.
  TrayInformationSource trayInformation;
};

// True when every page and copy of the file goes to the printer as one print
// job (the A2-or-smaller printer with finishing); job.folder is the setting.
bool IsWholeFileJob(const ConversionEnvironment& environment, const CurrentJob& job, double widthMm,
                    double lengthMm, int pages);

// Each returns false with the operator's message and the cause in failure,
// and sets keepFile when the fault lies with the configuration or the printer
// rather than with the file. job.folder must hold the folder setting; the
// rest of job is filled before the conversion starts.
bool ConvertWholeFile(const ConversionEnvironment& environment, CurrentJob& job,
                      const std::filesystem::path& source, const std::filesystem::path& printFile, int pages,
                      base::Failure& failure, bool& keepFile);
bool ConvertPage(const ConversionEnvironment& environment, CurrentJob& job,
                 const std::filesystem::path& source, int page, const std::filesystem::path& printFile,
                 base::Failure& failure, bool& keepFile);
bool ConvertPlot(const ConversionEnvironment& environment, CurrentJob& job,
                 const std::filesystem::path& source, const std::filesystem::path& printFile,
                 base::Failure& failure, bool& keepFile);

}  // namespace orvella::jobs
