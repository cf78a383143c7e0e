#include "jobs/exclusive_open.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/unique_fd.h"

namespace orvella::jobs {
std::uint64_t FileTimeFromTimespec(const timespec& time) {
  constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
  return (static_cast<std::uint64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000ULL +
         static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

FileStamp StampOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
          static_cast<std::int64_t>(info.st_size), FileTimeFromTimespec(info.st_mtim)};
}

int OpenFolder(const std::filesystem::path& folder) {
  return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

ProbeResult ProbeExclusive(int folderFd, const std::string& name) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  base::UniqueFd fd(::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) {
    return {errno == ELOOP ? ProbeOutcome::kSymbolicLink : ProbeOutcome::kUnreadable, {}};
  }
  // The lease first, so the stamp is read while nobody can change the file;
  // closing the descriptor gives the lease back.
  const bool leased = ::fcntl(fd.Get(), F_SETLEASE, F_WRLCK) == 0;
  const int leaseError = errno;
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return {ProbeOutcome::kUnreadable, {}};
  if (!S_ISREG(info.st_mode)) return {ProbeOutcome::kNotRegular, {}};
  if (info.st_nlink != 1) return {ProbeOutcome::kSeveralLinks, {}};

  ProbeResult result;
  if (leased) {
    result.outcome = ProbeOutcome::kTaken;
  } else if (leaseError == EAGAIN || leaseError == EBUSY) {
    return {ProbeOutcome::kInUse, {}};
  } else if (leaseError == EACCES || leaseError == EINVAL) {
    result.outcome = ProbeOutcome::kLeaseRefused;
  } else {
    return {ProbeOutcome::kUnreadable, {}};
  }
  result.stamp = StampOf(info);
  return result;
}

}  // namespace orvella::jobs
