#include "jobs/job_plan.h"

#include <string>

#include "imaging/convert_tiff.h"
#include "imaging/tiff_page_info.h"
#include "imaging/tiff_result.h"

namespace orvella::jobs {
namespace {

constexpr const char* kReadError = "ファイル読み込みエラー";
constexpr const char* kUnsupportedFile = "未対応ファイル";
constexpr const char* kPageSizeError = "TIFFファイル画像サイズ取得エラー";

JobPlan Failed(JobPlan plan, std::string message, std::string detail) {
  plan.mode = JobMode::kNone;
  plan.units.clear();
  plan.failure = base::Failure{std::move(message), std::move(detail)};
  return plan;
}

std::string TiffDetail(int code, const std::string& detail) {
  return std::string(imaging::ResultText(code)) + (detail.empty() ? "" : ": " + detail);
}

JobPlan PlanTiff(const ConversionEnvironment& environment, const CurrentJob& job,
                 const std::filesystem::path& source, JobPlan plan) {
  std::string detail;
  if (const int code = imaging::CountPages(source, plan.pages, &detail); code != imaging::kTiffOk)
    return Failed(std::move(plan), imaging::kPageCountError, TiffDetail(code, detail));
  double width = 0, length = 0;
  if (const int code = imaging::ReadPageSizeMm(source, 0, width, length, &detail); code != imaging::kTiffOk)
    return Failed(std::move(plan), kPageSizeError, TiffDetail(code, detail));
  if (IsWholeFileJob(environment, job, width, length, plan.pages)) {
    plan.mode = JobMode::kWholeFile;
    plan.units = {{WorkUnit::kWholeTiff, 1}};
    return plan;
  }
  plan.mode = JobMode::kPages;
  plan.units.reserve(static_cast<std::size_t>(plan.pages));
  for (int page = 1; page <= plan.pages; ++page) plan.units.push_back({WorkUnit::kTiffPage, page});
  return plan;
}

}  // namespace

JobPlan PlanJob(const ConversionEnvironment& environment, const CurrentJob& job,
                const std::filesystem::path& source) {
  JobPlan plan;
  plan.copies = job.folder.quantity;
  if (!DetectInputFileType(source, plan.type, environment.settings.hidden.enableUnsupportedGl))
    return Failed(std::move(plan), kReadError, "the file could not be read");
  switch (plan.type) {
    case InputFileType::kTiff:
      return PlanTiff(environment, job, source, std::move(plan));
    case InputFileType::kHpgl2:
      plan.mode = JobMode::kPlot;
      plan.pages = 1;
      plan.units = {{WorkUnit::kHpglCopy, 1}};
      return plan;
    case InputFileType::kUnsupported:
      break;
  }
  return Failed(std::move(plan), kUnsupportedFile, "neither a TIFF file nor HP-GL/2 in a PJL envelope");
}

bool ConvertUnit(const ConversionEnvironment& environment, CurrentJob& job, const JobPlan& plan,
                 const PlannedUnit& unit, const std::filesystem::path& source,
                 const std::filesystem::path& printFile, base::Failure& failure, bool& keepFile) {
  if (unit.kind == WorkUnit::kWholeTiff)
    return ConvertWholeFile(environment, job, source, printFile, plan.pages, failure, keepFile);
  if (unit.kind == WorkUnit::kHpglCopy)
    return ConvertPlot(environment, job, source, printFile, failure, keepFile);
  return ConvertPage(environment, job, source, unit.page - 1, printFile, failure, keepFile);
}

}  // namespace orvella::jobs
