#include "jobs/exclusive_open.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <mutex>

#include "base/unique_fd.h"

namespace orvella::jobs {
namespace {

// A lease break is delivered as SIGIO, whose default action ends the process.
void IgnoreLeaseBreaks() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGIO, SIG_IGN); });
}

}  // namespace

std::uint64_t FileTimeFromTimespec(const timespec& time) {
  constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
  return (static_cast<std::uint64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000ULL +
         static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

ProbeResult ProbeExclusive(const std::filesystem::path& path) {
  IgnoreLeaseBreaks();
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  base::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) {
    return {errno == ELOOP ? ProbeOutcome::kSymbolicLink : ProbeOutcome::kUnreadable, {}};
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return {ProbeOutcome::kUnreadable, {}};
  if (!S_ISREG(info.st_mode)) return {ProbeOutcome::kNotRegular, {}};

  ProbeResult result;
  if (::fcntl(fd.Get(), F_SETLEASE, F_WRLCK) == 0) {
    // Read the stamp under the lease, so the file cannot change meanwhile.
    if (::fstat(fd.Get(), &info) != 0) {
      ::fcntl(fd.Get(), F_SETLEASE, F_UNLCK);
      return {ProbeOutcome::kUnreadable, {}};
    }
    ::fcntl(fd.Get(), F_SETLEASE, F_UNLCK);
    result.outcome = ProbeOutcome::kTaken;
  } else if (errno == EAGAIN || errno == EBUSY) {
    return {ProbeOutcome::kInUse, {}};
  } else if (errno == EACCES || errno == EINVAL) {
    result.outcome = ProbeOutcome::kLeaseRefused;
  } else {
    return {ProbeOutcome::kUnreadable, {}};
  }
  result.stamp = {static_cast<std::int64_t>(info.st_size), FileTimeFromTimespec(info.st_mtim)};
  return result;
}

}  // namespace orvella::jobs
