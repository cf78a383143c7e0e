#include "jobs/resume_point.h"

#include <optional>

#include "jobs/exclusive_open.h"
#include "settings/app_data.h"
#include "settings/settings_error.h"

namespace orvella::jobs {
namespace {

std::optional<std::uint64_t> CurrentFileTime(const std::string& sourcePath) {
  const ProbeResult probe = ProbeExclusive(sourcePath);
  if (probe.outcome != ProbeOutcome::kTaken && probe.outcome != ProbeOutcome::kLeaseRefused) {
    return std::nullopt;
  }
  return probe.stamp.fileTime;
}

bool Write(const std::filesystem::path& program, const settings::LastProcessFile& record,
           base::Failure& failure) {
  try {
    settings::WriteLastProcessFile(program, record);
    return true;
  } catch (const settings::SettingsError& e) {
    failure = {e.what(), "the resume record could not be written to HIDDEN.INI"};
    return false;
  }
}

}  // namespace

ResumePoint ReadResumePoint(const std::filesystem::path& program, const std::string& sourcePath) {
  const std::optional<std::uint64_t> fileTime = CurrentFileTime(sourcePath);
  if (!fileTime) return {};
  settings::LastProcessFile record;
  try {
    record = settings::ReadLastProcessFile(program);
  } catch (const settings::SettingsError&) {
    return {};  // an unreadable record resumes nothing
  }
  if (record.path == sourcePath && record.time == *fileTime) {
    return {true, record.qty, record.page};
  }
  record.path.clear();
  base::Failure ignored;
  Write(program, record, ignored);  // the job starts from the beginning either way
  return {};
}

bool SaveResumePoint(const std::filesystem::path& program, const std::string& sourcePath, int qty, int page,
                     base::Failure& failure) {
  const std::optional<std::uint64_t> fileTime = CurrentFileTime(sourcePath);
  if (!fileTime) return true;
  return Write(program, {sourcePath, *fileTime, page, qty}, failure);
}

bool ClearResumePoint(const std::filesystem::path& program, base::Failure& failure) {
  return Write(program, {}, failure);
}

}  // namespace orvella::jobs
