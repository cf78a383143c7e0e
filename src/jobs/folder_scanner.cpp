#include "jobs/folder_scanner.h"

#include <dirent.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace orvella::jobs {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

const char* SkipReason(ProbeOutcome outcome) {
  switch (outcome) {
    case ProbeOutcome::kInUse:
      return "in use";
    case ProbeOutcome::kNotRegular:
      return "not a regular file";
    case ProbeOutcome::kSymbolicLink:
      return "symbolic link";
    default:
      return "unreadable";
  }
}

// The fallback test: the same size and time as at the folder's previous scan.
bool Unchanged(const std::map<std::string, FileStamp>* before, const std::string& name,
               const FileStamp& stamp) {
  if (before == nullptr) return false;
  const auto it = before->find(name);
  return it != before->end() && it->second == stamp;
}

}  // namespace

FolderScanner::FolderScanner(Log log, Probe probe) : log_(std::move(log)), probe_(std::move(probe)) {}

void FolderScanner::NoteMethod(const std::string& folder, bool lease) {
  const auto [it, added] = methodNoted_.try_emplace(folder, lease);
  if (!added && it->second == lease) return;
  it->second = lease;
  if (log_) {
    log_(folder + (lease ? ": files are taken when no other program has them open (lease)"
                         : ": no lease available; files are taken once size and time stay unchanged "
                           "between two scans"));
  }
}

void FolderScanner::ScanFolder(const std::string& folder, int index, ScanResult& result,
                               std::string& bestName) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
  if (!dir) {
    if (errno != ENOENT && errno != ENOTDIR) result.skipped.push_back({folder, "unreadable"});
    previous_.erase(folder);
    return;
  }
  std::map<std::string, FileStamp> seen;
  const auto* before = [&]() -> const std::map<std::string, FileStamp>* {
    const auto it = previous_.find(folder);
    return it == previous_.end() ? nullptr : &it->second;
  }();
  bool fallback = false;
  bool probed = false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    if (entry->d_type == DT_LNK) {
      result.skipped.push_back({path, "symbolic link"});
      continue;
    }
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) {
      result.skipped.push_back({path, "not a regular file"});
      continue;
    }
    const ProbeResult probe = probe_(path);
    if (probe.outcome == ProbeOutcome::kLeaseRefused) {
      fallback = true;
      seen[name] = probe.stamp;
      probed = true;
      if (!Unchanged(before, name, probe.stamp)) {
        result.skipped.push_back({path, "in use"});
        continue;
      }
    } else if (probe.outcome != ProbeOutcome::kTaken) {
      result.skipped.push_back({path, SkipReason(probe.outcome)});
      continue;
    }
    probed = true;
    const std::uint64_t time = probe.stamp.fileTime;
    const bool better = !result.found || time < result.fileTime ||
                        (time == result.fileTime && index == result.folderIndex && name < bestName);
    if (better) {
      result.found = true;
      result.path = path;
      result.fileTime = time;
      result.folderIndex = index;
      bestName = name;
    }
  }
  if (fallback) {
    previous_[folder] = std::move(seen);
  } else {
    previous_.erase(folder);
  }
  if (probed) NoteMethod(folder, !fallback);
}

ScanResult FolderScanner::Scan(const std::vector<std::string>& folders) {
  ScanResult result;
  std::string bestName;
  for (size_t i = 0; i < folders.size(); ++i) ScanFolder(folders[i], static_cast<int>(i), result, bestName);
  return result;
}

}  // namespace orvella::jobs
