#include "jobs/folder_scanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <set>

#include "base/unique_fd.h"
#include "jobs/undeletable_files.h"

namespace orvella::jobs {
namespace {

constexpr const char* kInUse = "in use";
constexpr const char* kChanging = "changing";

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

const char* SkipReason(ProbeOutcome outcome) {
  switch (outcome) {
    case ProbeOutcome::kInUse:
      return kInUse;
    case ProbeOutcome::kNotRegular:
      return "not a regular file";
    case ProbeOutcome::kSymbolicLink:
      return "symbolic link";
    case ProbeOutcome::kSeveralLinks:
      return "several links";
    default:
      return "unreadable";
  }
}

}  // namespace

bool PassedOver(const ScanSkip& skip) { return skip.reason != kInUse && skip.reason != kChanging; }

FolderScanner::FolderScanner(Log log, Probe probe, Clock clock)
    : log_(std::move(log)), probe_(std::move(probe)), clock_(std::move(clock)) {}

void FolderScanner::NoteMethod(const std::string& folder, bool lease) {
  const auto [it, added] = methodNoted_.try_emplace(folder, lease);
  if (!added && it->second == lease) return;
  it->second = lease;
  if (!log_) return;
  const std::string quiet = std::to_string(quietSeconds_) + " s";
  if (lease) {
    log_(folder + ": files are taken when no other program has them open (lease)" +
         (quietSeconds_ > 0 ? " and their size and time stayed unchanged for " + quiet : ""));
  } else {
    log_(folder + ": no lease available; files are taken once size and time stay unchanged " +
         (quietSeconds_ > 0 ? "for " + quiet : "between two scans"));
  }
}

bool FolderScanner::Settled(const Sightings* before, Sightings& seen, const std::string& name,
                            const FileStamp& stamp, bool leased,
                            std::chrono::steady_clock::time_point now) const {
  const Sighting* previous = nullptr;
  if (before != nullptr) {
    const auto it = before->find(name);
    if (it != before->end() && it->second.stamp == stamp) previous = &it->second;
  }
  const Sighting& sighting = seen[name] = previous ? *previous : Sighting{stamp, now};
  if (quietSeconds_ == 0) return leased || previous != nullptr;
  return now - sighting.since >= std::chrono::seconds(quietSeconds_);
}

void FolderScanner::ScanFolder(const std::string& folder, int index, ScanResult& result,
                               std::string& bestName) {
  base::UniqueFd folderFd(OpenFolder(folder));
  const int openError = folderFd ? EIO : errno;
  std::unique_ptr<DIR, DirCloser> dir;
  if (folderFd) {
    // fdopendir takes the descriptor; a duplicate stays for opening entries.
    base::UniqueFd listing(::fcntl(folderFd.Get(), F_DUPFD_CLOEXEC, 0));
    if (listing) dir.reset(::fdopendir(listing.Get()));
    if (dir) listing.Release();
  }
  if (!dir) {
    // With O_DIRECTORY a link says ENOTDIR rather than ELOOP.
    struct stat info {};
    const bool link = openError == ELOOP ||
                      (openError == ENOTDIR && ::lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    if (link) {
      result.skipped.push_back({folder, "symbolic link"});
    } else if (openError != ENOENT && openError != ENOTDIR) {
      result.skipped.push_back({folder, "unreadable"});
    }
    sightings_.erase(folder);
    return;
  }
  const auto now = clock_();
  Sightings seen;
  const auto known = sightings_.find(folder);
  const Sightings* before = known == sightings_.end() ? nullptr : &known->second;
  std::set<std::string> present;
  bool fallback = false;
  bool probed = false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    present.insert(path);
    if (entry->d_type == DT_LNK) {
      result.skipped.push_back({path, "symbolic link"});
      continue;
    }
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) {
      result.skipped.push_back({path, "not a regular file"});
      continue;
    }
    const ProbeResult probe = probe_(folderFd.Get(), name);
    if (probe.outcome != ProbeOutcome::kTaken && probe.outcome != ProbeOutcome::kLeaseRefused) {
      result.skipped.push_back({path, SkipReason(probe.outcome)});
      continue;
    }
    probed = true;
    const bool leased = probe.outcome == ProbeOutcome::kTaken;
    fallback = fallback || !leased;
    if (!Settled(before, seen, name, probe.stamp, leased, now)) {
      result.skipped.push_back({path, quietSeconds_ > 0 ? kChanging : kInUse});
      continue;
    }
    if (undeletable_ && undeletable_->Holds(path, probe.stamp)) {
      result.skipped.push_back({path, "undeletable"});
      continue;
    }
    const std::uint64_t time = probe.stamp.fileTime;
    const bool better = !result.found || time < result.fileTime ||
                        (time == result.fileTime && index == result.folderIndex && name < bestName);
    if (better) {
      result.found = true;
      result.path = path;
      result.fileTime = time;
      result.stamp = probe.stamp;
      result.folderIndex = index;
      bestName = name;
    }
  }
  sightings_[folder] = std::move(seen);
  if (undeletable_) undeletable_->KeepOnly(folder, present);
  if (probed) NoteMethod(folder, !fallback);
}

ScanResult FolderScanner::Scan(const std::vector<std::string>& folders) {
  ScanResult result;
  std::string bestName;
  for (size_t i = 0; i < folders.size(); ++i) ScanFolder(folders[i], static_cast<int>(i), result, bestName);
  std::map<std::string, std::string> passedOver;
  for (const ScanSkip& skip : result.skipped) {
    if (!PassedOver(skip)) continue;
    passedOver[skip.path] = skip.reason;
    const auto it = passedOver_.find(skip.path);
    if (it == passedOver_.end() || it->second != skip.reason) result.newlyPassedOver.push_back(skip);
  }
  passedOver_ = std::move(passedOver);
  return result;
}

}  // namespace orvella::jobs
