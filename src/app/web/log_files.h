#pragma once
// What the status page reads of the program folder: the daily job logs in LOG
// and the records in ERROR. Names from a request are only ever looked up
// among the names these listings find, never joined to a path as given.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::web {

struct LogDay {
  std::string date;  // YYYYMMDD
  std::uintmax_t size = 0;
};

// The daily logs, newest first, at most limit of them.
std::vector<LogDay> ListLogDays(const std::filesystem::path& program, std::size_t limit);

// The file of the day, when date is exactly eight digits and the file exists.
std::optional<std::filesystem::path> FindLogDay(const std::filesystem::path& program, std::string_view date);

// The ten columns of a log record (CSV, which may span lines). Fields beyond
// the tenth belong to the message, the last column: older logs wrote a
// message with commas unquoted.
using LogColumns = std::array<std::string, 10>;
LogColumns SplitLogLine(std::string_view record);

struct LogContent {
  std::vector<LogColumns> lines;  // records in file order, UTF-8, without the header
  bool truncated = false;         // only the file's last maxBytes were read
};
// A log file read as UTF-8 records; nullopt when it cannot be read.
std::optional<LogContent> ReadLogFile(const std::filesystem::path& file, std::uintmax_t maxBytes);

struct ErrorRecord {
  std::string id;       // the folder's name under ERROR
  std::string written;  // "YYYY/MM/DD HH:MM:SS" from the folder's name
  std::string folder;   // the source's folder
  std::string fileName;
  std::string message;
  std::string detail;          // the cause in plain English, empty when none was kept
  std::filesystem::path kept;  // the copy of the source, empty when there is none
};

// The error folder's records, newest first, at most limit of them.
std::vector<ErrorRecord> ListErrorRecords(const std::filesystem::path& program, std::size_t limit);
// The record whose folder is named id exactly.
std::optional<ErrorRecord> FindErrorRecord(const std::filesystem::path& program, std::string_view id);

}  // namespace orvella::web
