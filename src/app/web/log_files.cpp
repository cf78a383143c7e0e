#include "app/web/log_files.h"

#include <algorithm>
#include <fstream>

#include "base/csv_text.h"
#include "base/text_codec.h"
#include "logging/cp932_line.h"
#include "logging/error_record.h"
#include "settings/program_folders.h"

namespace orvella::web {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxErrorCsv = 64 * 1024;

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLogName(const std::string& name) {
  return name.size() == 12 && name.ends_with(".csv") && AllDigits(std::string_view(name).substr(0, 8));
}

// "YYYYMMDD_HHMMSS_<file>".
bool IsErrorFolderName(const std::string& name) {
  return name.size() > 16 && name[8] == '_' && name[15] == '_' &&
         AllDigits(std::string_view(name).substr(0, 8)) && AllDigits(std::string_view(name).substr(9, 6));
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::regular;
}

// Where the quotes stand after the first skip bytes of the file, read in
// pieces; false when the file cannot be read that far.
bool FollowQuotes(std::ifstream& in, std::uintmax_t skip, base::CsvBoundaryFinder& finder) {
  std::string piece(64 * 1024, '\0');
  for (std::uintmax_t left = skip; left > 0;) {
    const auto want = static_cast<std::streamsize>(std::min<std::uintmax_t>(left, piece.size()));
    if (!in.read(piece.data(), want)) return false;
    finder.Feed(std::string_view(piece.data(), static_cast<std::size_t>(want)));
    left -= static_cast<std::uintmax_t>(want);
  }
  return true;
}

// The last maxBytes of the file from a record start; nullopt when unreadable.
// A record may span lines, so the cut is placed by following the quotes of
// the whole file before it.
std::optional<std::string> ReadTail(const fs::path& file, std::uintmax_t maxBytes, bool& truncated) {
  if (!IsRegularFile(file)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::uintmax_t size = static_cast<std::uintmax_t>(std::max<std::streamoff>(in.tellg(), 0));
  truncated = size > maxBytes;
  const std::uintmax_t skip = truncated ? size - maxBytes : 0;
  in.seekg(0);
  base::CsvBoundaryFinder finder;
  if (!FollowQuotes(in, skip, finder)) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size - skip), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (truncated) bytes.erase(0, std::min(finder.Feed(bytes), bytes.size()));
  return bytes;
}

// The detail of the record's last failure: the file's last line.
std::string LastDetailLine(const fs::path& file) {
  bool truncated = false;
  std::optional<std::string> bytes = ReadTail(file, kMaxErrorCsv, truncated);
  if (!bytes) return {};
  while (!bytes->empty() && (bytes->back() == '\n' || bytes->back() == '\r')) bytes->pop_back();
  const std::size_t start = bytes->rfind('\n');
  return start == std::string::npos ? *bytes : bytes->substr(start + 1);
}

// Fields beyond the tenth belong to the message: older lines wrote a
// message with commas unquoted.
LogColumns LogColumnsOf(const base::CsvRecord& fields) {
  LogColumns columns;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string& column = columns[std::min(i, columns.size() - 1)];
    if (i >= columns.size()) column += ',';
    column += fields[i];
  }
  return columns;
}

ErrorRecord ReadErrorRecord(const fs::path& folder) {
  const std::string name = folder.filename().string();
  ErrorRecord record;
  record.id = name;
  record.written = name.substr(0, 4) + "/" + name.substr(4, 2) + "/" + name.substr(6, 2) + " " +
                   name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2);
  if (const auto csv = ReadLogFile(folder / "error.csv", kMaxErrorCsv); csv && !csv->lines.empty()) {
    const LogColumns& last = csv->lines.back();
    record.folder = last[2];
    record.fileName = last[4];
    record.message = last[9];
  }
  record.detail = LastDetailLine(folder / logging::kErrorDetailFile);
  // The copy carries the source's own name, which the log holds as far as
  // CP932 can (a character it lacks is "?"); whatever else is there is not it.
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string entryName = entry.path().filename().string();
    if (entry.path().filename() != "error.csv" && entry.path().filename() != logging::kErrorDetailFile &&
        IsRegularFile(entry.path()) &&
        (record.fileName.empty() || base::Cp932ToUtf8(logging::Cp932Text(entryName)) == record.fileName)) {
      record.kept = entry.path();
      record.fileName = entryName;
      break;
    }
  }
  return record;
}

}  // namespace

std::vector<LogDay> ListLogDays(const fs::path& program, std::size_t limit) {
  std::vector<LogDay> days;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings::ProgramPath(program, "/LOG"), ec)) {
    const std::string name = entry.path().filename().string();
    if (IsLogName(name) && IsRegularFile(entry.path()))
      days.push_back({name.substr(0, 8), entry.file_size(ec)});
  }
  std::sort(days.begin(), days.end(), [](const LogDay& a, const LogDay& b) { return a.date > b.date; });
  if (days.size() > limit) days.resize(limit);
  return days;
}

std::optional<fs::path> FindLogDay(const fs::path& program, std::string_view date) {
  if (date.size() != 8 || !AllDigits(date)) return std::nullopt;
  const fs::path file = settings::ProgramPath(program, "/LOG/" + std::string(date) + ".csv");
  if (!IsRegularFile(file)) return std::nullopt;
  return file;
}

LogColumns SplitLogLine(std::string_view record) {
  const std::vector<base::CsvRecord> records = base::SplitCsvRecords(record);
  return records.empty() ? LogColumns{} : LogColumnsOf(records.front());
}

std::optional<LogContent> ReadLogFile(const fs::path& file, std::uintmax_t maxBytes) {
  LogContent content;
  const auto bytes = ReadTail(file, maxBytes, content.truncated);
  if (!bytes) return std::nullopt;
  // CP932 puts no comma, quote or line end inside a two-byte character, so
  // the records split alike before and after conversion.
  const std::vector<base::CsvRecord> records = base::SplitCsvRecords(base::Cp932ToUtf8(*bytes));
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i == 0 && !content.truncated && records[i].front() == "日付") continue;
    content.lines.push_back(LogColumnsOf(records[i]));
  }
  return content;
}

std::vector<ErrorRecord> ListErrorRecords(const fs::path& program, std::size_t limit) {
  std::vector<fs::path> folders;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings::ProgramPath(program, "/ERROR"), ec)) {
    if (IsErrorFolderName(entry.path().filename().string()) &&
        fs::symlink_status(entry.path(), ec).type() == fs::file_type::directory)
      folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) { return a > b; });
  if (folders.size() > limit) folders.resize(limit);
  std::vector<ErrorRecord> records;
  for (const auto& folder : folders) records.push_back(ReadErrorRecord(folder));
  return records;
}

std::optional<ErrorRecord> FindErrorRecord(const fs::path& program, std::string_view id) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings::ProgramPath(program, "/ERROR"), ec)) {
    const std::string name = entry.path().filename().string();
    if (name == id && IsErrorFolderName(name) &&
        fs::symlink_status(entry.path(), ec).type() == fs::file_type::directory)
      return ReadErrorRecord(entry.path());
  }
  return std::nullopt;
}

}  // namespace orvella::web
