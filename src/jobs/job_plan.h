#pragma once
// How a job goes through one source file: its kind, whether a TIFF file goes
// page by page or as one whole-file job, and the units each copy sends. The
// worker and orvella convert both plan with it and convert each unit through
// ConvertUnit, so they agree on units and messages.
#include <filesystem>
#include <optional>
#include <vector>

#include "base/failure.h"
#include "jobs/input_file_type.h"
#include "jobs/job_request.h"
#include "jobs/job_status_text.h"
#include "jobs/unit_conversion.h"

namespace orvella::jobs {

enum class JobMode {
  kNone,       // nothing to convert: the file failed as a whole
  kPages,      // a TIFF file, one unit per page of each copy
  kWholeFile,  // a TIFF file, every page and copy in one unit
  kPlot        // a plot, one unit per copy
};

struct PlannedUnit {
  WorkUnit kind = WorkUnit::kTiffPage;
  int page = 1;  // from 1; 1 for a whole file or plot
};

struct JobPlan {
  InputFileType type = InputFileType::kUnsupported;
  JobMode mode = JobMode::kNone;
  int pages = 0;                   // of a TIFF file; 1 for a plot
  int copies = 0;                  // the folder's copy count
  std::vector<PlannedUnit> units;  // of one pass, in order
  // Set when the file cannot go as any unit: it goes whole to the error
  // folder with this message; detail names source as given.
  std::optional<base::Failure> failure;

  // How often the units are sent: a whole-file job holds every copy itself.
  int Passes() const { return mode == JobMode::kWholeFile ? 1 : copies; }
  UnitCounters Counters(int pass, const PlannedUnit& unit) const { return {pass, copies, unit.page, pages}; }
};

// Reads the kind and, for a TIFF file, the page count and first page's size
// of source; job.folder is the folder setting.
JobPlan PlanJob(const ConversionEnvironment& environment, const CurrentJob& job,
                const std::filesystem::path& source);

// Converts one unit of plan into printFile, as the conversions of
// unit_conversion.h do.
bool ConvertUnit(const ConversionEnvironment& environment, CurrentJob& job, const JobPlan& plan,
                 const PlannedUnit& unit, const std::filesystem::path& source,
                 const std::filesystem::path& printFile, base::Failure& failure, bool& keepFile);

}  // namespace orvella::jobs
