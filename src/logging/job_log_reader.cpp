#include "logging/job_log_reader.h"

#include <algorithm>

#include "base/csv_text.h"
#include "base/text_codec.h"
#include "logging/job_log.h"
#include "logging/log_names.h"
#include "logging/record_tail.h"
#include "settings/program_folders.h"

namespace orvella::logging {
namespace {

namespace fs = std::filesystem;

// The members in file order, for reading and for Columns alike.
template <typename Record>
auto ColumnsOf(Record& r) {
  return std::array{&r.date,     &r.time,    &r.folder,   &r.printerName, &r.fileName,
                    &r.trayName, &r.widthMm, &r.lengthMm, &r.sizeKb,      &r.message};
}

JobLogRecord RecordOf(const base::CsvRecord& fields) {
  JobLogRecord record;
  const auto columns = ColumnsOf(record);
  static_assert(columns.size() == JobLogRecord::kColumnCount);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string& column = *columns[std::min(i, columns.size() - 1)];
    if (i >= columns.size()) column += ',';
    column += fields[i];
  }
  return record;
}

}  // namespace

std::array<std::string, JobLogRecord::kColumnCount> JobLogRecord::Columns() const {
  const auto fields = ColumnsOf(*this);
  std::array<std::string, kColumnCount> columns;
  std::transform(fields.begin(), fields.end(), columns.begin(), [](const std::string* f) { return *f; });
  return columns;
}

std::vector<LogDay> ListLogDays(const fs::path& program, std::size_t limit) {
  std::vector<LogDay> days;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings::ProgramPath(program, "/LOG"), ec)) {
    const std::string name = entry.path().filename().string();
    if (IsDailyLogName(name) && IsRegularFile(entry.path()))
      days.push_back({name.substr(0, 8), entry.file_size(ec)});
  }
  std::sort(days.begin(), days.end(), [](const LogDay& a, const LogDay& b) { return a.date > b.date; });
  if (days.size() > limit) days.resize(limit);
  return days;
}

std::optional<fs::path> FindLogDay(const fs::path& program, std::string_view date) {
  if (!IsLogDate(date)) return std::nullopt;
  const fs::path file = settings::ProgramPath(program, "/LOG/" + std::string(date) + ".csv");
  if (!IsRegularFile(file)) return std::nullopt;
  return file;
}

JobLogRecord ParseJobLogRecord(std::string_view text) {
  const std::vector<base::CsvRecord> records = base::SplitCsvRecords(text);
  return records.empty() ? JobLogRecord{} : RecordOf(records.front());
}

std::optional<JobLogContent> ReadJobLog(const fs::path& file, std::uintmax_t maxBytes) {
  JobLogContent content;
  const auto bytes = ReadRecordTail(file, maxBytes, content.truncated);
  if (!bytes) return std::nullopt;
  // CP932 puts no comma, quote or line end inside a two-byte character, so
  // the records split alike before and after conversion.
  const std::vector<base::CsvRecord> records = base::SplitCsvRecords(base::Cp932ToUtf8(*bytes));
  static const std::string kHeaderStart = ParseJobLogRecord(kJobLogHeader).date;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i == 0 && !content.truncated && records[i].front() == kHeaderStart) continue;
    content.records.push_back(RecordOf(records[i]));
  }
  return content;
}

}  // namespace orvella::logging
