#include "app/web/log_files.h"

#include <algorithm>
#include <fstream>

#include "base/text_codec.h"
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

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

// The last maxBytes of the file from a line start; nullopt when unreadable.
std::optional<std::string> ReadTail(const fs::path& file, std::uintmax_t maxBytes, bool& truncated) {
  if (!IsRegularFile(file)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::uintmax_t size = static_cast<std::uintmax_t>(std::max<std::streamoff>(in.tellg(), 0));
  truncated = size > maxBytes;
  const std::uintmax_t skip = truncated ? size - maxBytes : 0;
  in.seekg(static_cast<std::streamoff>(skip));
  std::string bytes(static_cast<std::size_t>(size - skip), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (truncated) {
    const std::size_t newline = bytes.find('\n');
    bytes.erase(0, newline == std::string::npos ? bytes.size() : newline + 1);
  }
  return bytes;
}

// The detail of the record's last failure: the file's last line.
std::string LastDetailLine(const fs::path& file) {
  bool truncated = false;
  const std::optional<std::string> bytes = ReadTail(file, kMaxErrorCsv, truncated);
  if (!bytes) return {};
  const std::vector<std::string> lines = Lines(*bytes);
  return lines.empty() ? std::string() : lines.back();
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
  // The copy carries the source's own name; whatever else is there is not it.
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string entryName = entry.path().filename().string();
    if (entry.path().filename() != "error.csv" && entry.path().filename() != logging::kErrorDetailFile &&
        IsRegularFile(entry.path()) && (record.fileName.empty() || entryName == record.fileName)) {
      record.kept = entry.path();
      if (record.fileName.empty()) record.fileName = entryName;
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

LogColumns SplitLogLine(std::string_view line) {
  LogColumns columns;
  std::size_t column = 0;
  for (const char c : line) {
    if (c == ',' && column + 1 < columns.size()) {
      ++column;
    } else {
      columns[column] += c;
    }
  }
  return columns;
}

std::optional<LogContent> ReadLogFile(const fs::path& file, std::uintmax_t maxBytes) {
  LogContent content;
  const auto bytes = ReadTail(file, maxBytes, content.truncated);
  if (!bytes) return std::nullopt;
  const std::vector<std::string> lines = Lines(base::Cp932ToUtf8(*bytes));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 0 && !content.truncated && lines[i].starts_with("日付,")) continue;
    content.lines.push_back(SplitLogLine(lines[i]));
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
