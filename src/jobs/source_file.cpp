#include "jobs/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace orvella::jobs {

SourceFile::SourceFile(base::UniqueFd folder, base::UniqueFd file, std::string sourcePath, std::string name,
                       const FileStamp& stamp)
    : folder_(std::move(folder)),
      file_(std::move(file)),
      sourcePath_(std::move(sourcePath)),
      name_(std::move(name)),
      stamp_(stamp),
      readerPath_("/proc/self/fd/" + std::to_string(file_.Get())) {}

std::optional<SourceFile> SourceFile::Open(const std::string& sourcePath, const FileStamp& expected) {
  const std::filesystem::path path(sourcePath);
  std::string name = path.filename().string();
  base::UniqueFd folder(OpenFolder(path.parent_path()));
  if (!folder || name.empty()) return std::nullopt;
  // O_NONBLOCK: a FIFO swapped in after the scan must not hold the job.
  base::UniqueFd file(::openat(folder.Get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat info {};
  if (!file || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) {
    return std::nullopt;
  }
  const FileStamp stamp = StampOf(info);
  if (stamp != expected) return std::nullopt;
  return SourceFile(std::move(folder), std::move(file), sourcePath, std::move(name), stamp);
}

std::string SourceFile::Explain(std::string text) const {
  for (std::size_t at = 0; (at = text.find(readerPath_, at)) != std::string::npos;) {
    // Not a longer descriptor number that starts with ours.
    const std::size_t end = at + readerPath_.size();
    if (end < text.size() && text[end] >= '0' && text[end] <= '9') {
      at = end;
      continue;
    }
    text.replace(at, readerPath_.size(), sourcePath_);
    at += sourcePath_.size();
  }
  return text;
}

SourceState SourceFile::Check() const {
  struct stat named {};
  if (::fstatat(folder_.Get(), name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) return SourceState::kGone;
  struct stat held {};
  if (::fstat(file_.Get(), &held) != 0) return SourceState::kGone;
  const FileStamp now = StampOf(held);
  if (StampOf(named) != now || now != stamp_) return SourceState::kReplaced;
  return SourceState::kSame;
}

RemoveOutcome SourceFile::Remove(SourceState& state, std::string& detail) const {
  state = Check();
  if (state != SourceState::kSame) return RemoveOutcome::kNotThisFile;
  if (::unlinkat(folder_.Get(), name_.c_str(), 0) == 0) return RemoveOutcome::kRemoved;
  if (errno == ENOENT) {
    state = SourceState::kGone;
    return RemoveOutcome::kNotThisFile;
  }
  detail = sourcePath_ + ": " + std::strerror(errno);
  return RemoveOutcome::kFailed;
}

}  // namespace orvella::jobs
