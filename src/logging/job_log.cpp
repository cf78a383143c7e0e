#include "logging/job_log.h"

#include <cstdio>

#include "base/csv_text.h"
#include "base/fixed_format.h"
#include "logging/append_line.h"
#include "logging/cp932_line.h"
#include "settings/program_folders.h"

namespace orvella::logging {
namespace {

std::tm LocalTime(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// A text field may hold anything a file name can: quoted when it must be.
std::string OrDash(const std::string& text) { return text.empty() ? "-" : base::CsvField(text); }
std::string OrDash(int value) { return value == 0 ? "-" : std::to_string(value); }
std::string OrDash(double value) { return value == 0.0 ? "-" : base::FormatFixed(value, 2); }

std::string FormatLine(const JobLogFields& f, const std::tm& t) {
  char date[80];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d,%02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  std::string folder, file;
  if (!f.sourcePath.empty()) {
    const std::filesystem::path source(f.sourcePath);
    folder = source.parent_path().string();
    file = source.filename().string();
  }
  return std::string(date) + "," + OrDash(folder) + "," + OrDash(f.printerName) + "," + OrDash(file) + "," +
         OrDash(f.trayName) + "," + OrDash(f.widthMm) + "," + OrDash(f.lengthMm) + "," + OrDash(f.sizeKb) +
         "," + OrDash(f.message);
}

}  // namespace

std::filesystem::path DailyLogPath(const std::filesystem::path& program, std::time_t now) {
  const std::tm t = LocalTime(now);
  char name[80];
  std::snprintf(name, sizeof name, "/LOG/%04d%02d%02d.csv", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return settings::ProgramPath(program, name);
}

bool WriteJobLogAt(const std::filesystem::path& program, const std::optional<std::filesystem::path>& target,
                   const JobLogFields& fields, std::time_t now) {
  // One moment for the date, the time and the daily file name.
  const std::tm local = LocalTime(now);
  const std::filesystem::path path = target ? *target : DailyLogPath(program, now);
  return AppendLine(path, Cp932Line(kJobLogHeader), Cp932Line(FormatLine(fields, local)));
}

bool WriteJobLog(const std::filesystem::path& program, const std::optional<std::filesystem::path>& target,
                 const JobLogFields& fields) {
  return WriteJobLogAt(program, target, fields, std::time(nullptr));
}

bool WriteJobLogMessage(const std::filesystem::path& program, const std::string& message) {
  JobLogFields fields;
  fields.message = message;
  return WriteJobLog(program, std::nullopt, fields);
}

}  // namespace orvella::logging
