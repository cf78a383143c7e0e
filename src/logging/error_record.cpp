#include "logging/error_record.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "logging/job_log.h"
#include "logging/temp_beside.h"
#include "settings/program_folders.h"

namespace orvella::logging {
namespace {

constexpr const char* kFolderFailed = "エラーフォルダの作成に失敗しました";
constexpr const char* kCopyFailed = "エラーファイルのコピーに失敗しました";

void LogFailure(const std::filesystem::path& program, const std::string& sourcePath, const char* message,
                const std::string& detail) {
  JobLogFields fields;
  fields.sourcePath = sourcePath;
  fields.message = std::string(message) + "(" + detail + ")";
  WriteJobLog(program, std::nullopt, fields);
}

// Copies to a private file in the folder, then renames it over the target,
// so a reader sees the old copy or the new one, never half of one.
bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::string& detail) {
  std::string name;
  if (!CreateTempBeside(to, name)) {
    detail = std::error_code(errno, std::generic_category()).message();
    return false;
  }
  std::error_code error;
  std::filesystem::copy_file(from, name, std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(name, to, error);
  if (error) {
    ::unlink(name.c_str());
    detail = error.message();
    return false;
  }
  return true;
}

}  // namespace

std::filesystem::path ErrorFolderPath(const std::filesystem::path& program, int page,
                                      const std::string& sourcePath, std::time_t now) {
  std::tm t{};
  localtime_r(&now, &t);
  char stamp[80];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d_", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  const std::filesystem::path file = std::filesystem::path(sourcePath).filename();
  std::string name = file.string();
  if (page != kWholeFile) {
    name = file.stem().string() + "_p" + std::to_string(page) + file.extension().string();
  }
  return settings::ProgramPath(program, "/ERROR/" + std::string(stamp) + name);
}

bool WriteErrorRecordAt(const std::filesystem::path& program, int page, const std::string& sourcePath,
                        const std::string& message, std::time_t now) {
  const std::filesystem::path folder = ErrorFolderPath(program, page, sourcePath, now);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    LogFailure(program, sourcePath, kFolderFailed, folder.string() + ": " + error.message());
    return false;
  }
  JobLogFields fields;
  fields.sourcePath = sourcePath;
  fields.message = message;
  WriteJobLogAt(program, folder / "error.csv", fields, now);

  const std::filesystem::path copy = folder / std::filesystem::path(sourcePath).filename();
  std::string detail;
  if (!CopyReplacing(sourcePath, copy, detail)) {
    LogFailure(program, sourcePath, kCopyFailed, copy.string() + ": " + detail);
    return false;
  }
  return true;
}

bool WriteErrorRecord(const std::filesystem::path& program, int page, const std::string& sourcePath,
                      const std::string& message) {
  return WriteErrorRecordAt(program, page, sourcePath, message, std::time(nullptr));
}

}  // namespace orvella::logging
