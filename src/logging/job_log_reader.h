#pragma once
// The daily job logs read back (job_log.h writes them): the days kept in LOG
// and the records of one day as UTF-8 fields.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::logging {

struct LogDay {
  std::string date;  // YYYYMMDD
  std::uintmax_t size = 0;
};

// The daily logs, newest first, at most limit of them.
std::vector<LogDay> ListLogDays(const std::filesystem::path& program, std::size_t limit);

// The file of the day, when date is exactly eight digits and the file exists.
// A name from a request is only ever looked up this way, never joined to a
// path as given.
std::optional<std::filesystem::path> FindLogDay(const std::filesystem::path& program, std::string_view date);

// One record of a job log, each field as the file holds it ("-" for an absent
// value, numbers as written).
struct JobLogRecord {
  std::string date;  // YYYY/MM/DD
  std::string time;  // HH:MM:SS
  std::string folder;
  std::string printerName;
  std::string fileName;
  std::string trayName;
  std::string widthMm;
  std::string lengthMm;
  std::string sizeKb;
  std::string message;

  static constexpr std::size_t kColumnCount = 10;
  // The fields in file order.
  std::array<std::string, kColumnCount> Columns() const;
};

// A record from CSV text (which may span lines). Fields beyond the tenth
// belong to the message, the last column: older logs wrote a message with
// commas unquoted.
JobLogRecord ParseJobLogRecord(std::string_view text);

struct JobLogContent {
  std::vector<JobLogRecord> records;  // in file order, without the header
  bool truncated = false;             // only the file's last maxBytes were read
};
// A log file (a day's, or an error folder's) read as UTF-8 records; nullopt
// when it cannot be read.
std::optional<JobLogContent> ReadJobLog(const std::filesystem::path& file, std::uintmax_t maxBytes);

}  // namespace orvella::logging
