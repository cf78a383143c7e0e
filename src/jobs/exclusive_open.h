#pragma once
// Whether a file in a hot folder is complete: it is taken only when no other
// open file refers to it, tested with a write lease.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

struct stat;

namespace orvella::jobs {

enum class ProbeOutcome {
  kTaken,         // nobody else had it open
  kInUse,         // another open file (reader or writer, any process) refers to it
  kLeaseRefused,  // no lease here (not the owner, or a file system without leases)
  kNotRegular,
  kSymbolicLink,
  kSeveralLinks,  // a second name elsewhere could be anything: not taken
  kUnreadable
};

// Which file, and how it looked: a file that is replaced, rewritten or
// appended to gets another stamp.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::uint64_t fileTime = 0;  // last write, 100-ns ticks since 1601-01-01 UTC
  bool operator==(const FileStamp&) const = default;
};

struct ProbeResult {
  ProbeOutcome outcome = ProbeOutcome::kUnreadable;
  FileStamp stamp;  // read for kTaken and kLeaseRefused
};

// Opens name in the open folder folderFd without following a symbolic link
// and tries a write lease; the lease is given back before returning. The
// signal of a lease broken meanwhile is ignored by the process set-up (app/).
ProbeResult ProbeExclusive(int folderFd, const std::string& name);

// Opens a hot folder for reading its entries; a symbolic link as its last
// component is refused (ELOOP), so the folder cannot be swapped for another.
int OpenFolder(const std::filesystem::path& folder);

// st_mtim as a file time.
std::uint64_t FileTimeFromTimespec(const timespec& time);
FileStamp StampOf(const struct stat& info);

}  // namespace orvella::jobs
