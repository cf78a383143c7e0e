#include "jobs/resume_point.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "base/unique_fd.h"
#include "jobs/exclusive_open.h"
#include "settings/app_data.h"
#include "settings/settings_error.h"

namespace orvella::jobs {
namespace {

// The last-write time of the file the path names, read without taking the
// file: the job holding it open must not keep its own record from being read.
std::optional<std::uint64_t> CurrentFileTime(const std::string& sourcePath) {
  const std::filesystem::path path(sourcePath);
  const base::UniqueFd folder(OpenFolder(path.parent_path()));
  if (!folder) return std::nullopt;
  const base::UniqueFd file(
      ::openat(folder.Get(), path.filename().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat info {};
  if (!file || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return StampOf(info).fileTime;
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

ResumePoint ReadResumePoint(const std::filesystem::path& program, const std::string& sourcePath,
                            std::optional<std::uint64_t> fileTime) {
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

ResumePoint ReadResumePoint(const std::filesystem::path& program, const std::string& sourcePath) {
  return ReadResumePoint(program, sourcePath, CurrentFileTime(sourcePath));
}

bool SaveResumePoint(const std::filesystem::path& program, const std::string& sourcePath,
                     std::optional<std::uint64_t> fileTime, int qty, int page, base::Failure& failure) {
  if (!fileTime) return true;
  return Write(program, {sourcePath, *fileTime, page, qty}, failure);
}

bool SaveResumePoint(const std::filesystem::path& program, const std::string& sourcePath, int qty, int page,
                     base::Failure& failure) {
  return SaveResumePoint(program, sourcePath, CurrentFileTime(sourcePath), qty, page, failure);
}

bool ClearResumePoint(const std::filesystem::path& program, base::Failure& failure) {
  return Write(program, {}, failure);
}

bool ClearResumePointOf(const std::filesystem::path& program, const std::string& sourcePath,
                        base::Failure& failure) {
  try {
    if (settings::ReadLastProcessFile(program).path != sourcePath) return true;
  } catch (const settings::SettingsError&) {
    return true;  // nothing readable to keep or clear
  }
  return ClearResumePoint(program, failure);
}

}  // namespace orvella::jobs
