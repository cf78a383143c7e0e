#include "jobs/undeletable_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <sstream>

#include "base/file_io.h"
#include "settings/program_folders.h"
#include "settings/resume_record_file.h"

namespace orvella::jobs {
namespace {

// Far more than any print room leaves behind; a damaged or hostile list
// cannot grow memory beyond it.
constexpr std::size_t kMaxEntries = 10000;
constexpr std::size_t kMaxFileBytes = 8u << 20;

// The scan names a folder's files folder + '/' + name.
bool InFolder(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/' && path.find('/', folder.size() + 1) == std::string::npos;
}

}  // namespace

UndeletableFiles::UndeletableFiles(const std::filesystem::path& program)
    : file_(settings::ProgramPath(program, "/INI/undeletable.txt")) {
  std::string bytes;
  if (base::ReadWholeFile(file_, bytes, kMaxFileBytes) != base::ReadStatus::kOk) return;
  std::istringstream lines(bytes);
  std::string line;
  while (std::getline(lines, line) && entries_.size() < kMaxEntries) {
    // Four numbers, then the path (escaped, so one line) to the line's end.
    std::istringstream fields(line);
    Entry entry;
    if (!(fields >> entry.stamp.device >> entry.stamp.inode >> entry.stamp.size >> entry.stamp.fileTime) ||
        fields.get() != ' ') {
      continue;
    }
    std::string escaped;
    std::getline(fields, escaped);
    if (auto path = settings::UnescapeRecordPath(escaped); path && !path->empty()) {
      entry.path = std::move(*path);
      entries_.push_back(std::move(entry));
    }
  }
}

bool UndeletableFiles::SaveLocked() {
  std::string bytes;
  for (const Entry& e : entries_) {
    bytes += std::to_string(e.stamp.device) + " " + std::to_string(e.stamp.inode) + " " +
             std::to_string(e.stamp.size) + " " + std::to_string(e.stamp.fileTime) + " " +
             settings::EscapeRecordPath(e.path) + "\n";
  }
  return base::ReplaceFileAtomically(file_, bytes, 0640);
}

bool UndeletableFiles::Add(const std::string& path, const FileStamp& stamp, std::string& detail) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) { return e.path == path; });
  if (entries_.size() >= kMaxEntries) entries_.erase(entries_.begin());
  entries_.push_back({path, stamp});
  if (SaveLocked()) return true;
  detail = file_.string() + " could not be written";
  return false;
}

bool UndeletableFiles::Holds(const std::string& path, const FileStamp& stamp) {
  std::lock_guard lock(mutex_);
  const auto it =
      std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == path; });
  if (it == entries_.end()) return false;
  if (it->stamp == stamp) return true;
  entries_.erase(it);
  SaveLocked();
  return false;
}

void UndeletableFiles::KeepOnly(const std::string& folder, const std::set<std::string>& seenPaths) {
  std::lock_guard lock(mutex_);
  const std::size_t removed = std::erase_if(
      entries_, [&](const Entry& e) { return InFolder(e.path, folder) && !seenPaths.contains(e.path); });
  if (removed > 0) SaveLocked();
}

std::size_t UndeletableFiles::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

}  // namespace orvella::jobs
