#include "logging/error_folder_reader.h"

#include <algorithm>

#include "base/text_codec.h"
#include "logging/cp932_line.h"
#include "logging/error_record.h"
#include "logging/job_log_reader.h"
#include "logging/log_names.h"
#include "logging/record_tail.h"
#include "settings/program_folders.h"

namespace orvella::logging {
namespace {

namespace fs = std::filesystem;

// The most read of an error folder's "error.csv" and of its detail lines.
constexpr std::uintmax_t kMaxErrorFile = 64 * 1024;

bool IsErrorFolder(const fs::directory_entry& entry) {
  std::error_code ec;
  return IsErrorFolderName(entry.path().filename().string()) &&
         fs::symlink_status(entry.path(), ec).type() == fs::file_type::directory;
}

// The detail of the folder's last failure: the file's last line.
std::string LastDetailLine(const fs::path& file) {
  bool truncated = false;
  std::optional<std::string> bytes = ReadRecordTail(file, kMaxErrorFile, truncated);
  if (!bytes) return {};
  while (!bytes->empty() && (bytes->back() == '\n' || bytes->back() == '\r')) bytes->pop_back();
  const std::size_t start = bytes->rfind('\n');
  return start == std::string::npos ? *bytes : bytes->substr(start + 1);
}

ErrorFolder ReadErrorFolder(const fs::path& folder) {
  const std::string name = folder.filename().string();
  ErrorFolder record;
  record.id = name;
  record.written = name.substr(0, 4) + "/" + name.substr(4, 2) + "/" + name.substr(6, 2) + " " +
                   name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2);
  if (const auto csv = ReadJobLog(folder / kErrorLogFile, kMaxErrorFile); csv && !csv->records.empty()) {
    const JobLogRecord& last = csv->records.back();
    record.folder = last.folder;
    record.fileName = last.fileName;
    record.message = last.message;
  }
  record.detail = LastDetailLine(folder / kErrorDetailFile);
  // The copy carries the source's own name, which the log holds as far as
  // CP932 can (a character it lacks is "?"); whatever else is there is not it.
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string entryName = entry.path().filename().string();
    if (entryName != kErrorLogFile && entryName != kErrorDetailFile && IsRegularFile(entry.path()) &&
        (record.fileName.empty() || base::Cp932ToUtf8(Cp932Text(entryName)) == record.fileName)) {
      record.kept = entry.path();
      record.fileName = entryName;
      break;
    }
  }
  return record;
}

}  // namespace

std::vector<ErrorFolder> ListErrorFolders(const fs::path& program, std::size_t limit) {
  std::vector<fs::path> folders;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings::ProgramPath(program, "/ERROR"), ec)) {
    if (IsErrorFolder(entry)) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) { return a > b; });
  if (folders.size() > limit) folders.resize(limit);
  std::vector<ErrorFolder> records;
  for (const auto& folder : folders) records.push_back(ReadErrorFolder(folder));
  return records;
}

std::optional<ErrorFolder> FindErrorFolder(const fs::path& program, std::string_view id) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(settings::ProgramPath(program, "/ERROR"), ec)) {
    if (entry.path().filename().string() == id && IsErrorFolder(entry)) return ReadErrorFolder(entry.path());
  }
  return std::nullopt;
}

}  // namespace orvella::logging
