#include "jobs/job_view.h"

#include <cstdio>
#include <filesystem>

namespace orvella::jobs {

JobRowColumns MakeJobRowColumns(std::string_view sourcePath, std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  char added[80];
  std::snprintf(added, sizeof added, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  const std::filesystem::path path(sourcePath);
  return {added, path.filename().string(), path.parent_path().string()};
}

}  // namespace orvella::jobs
