#pragma once
// Whether a file in a hot folder is complete: it is taken only when no other
// open file refers to it, tested with a write lease.
#include <cstdint>
#include <ctime>
#include <filesystem>

namespace orvella::jobs {

enum class ProbeOutcome {
  kTaken,         // nobody else had it open
  kInUse,         // another open file (reader or writer, any process) refers to it
  kLeaseRefused,  // no lease here (not the owner, or a file system without leases)
  kNotRegular,
  kSymbolicLink,
  kUnreadable
};

struct FileStamp {
  std::int64_t size = 0;
  std::uint64_t fileTime = 0;  // last write, 100-ns ticks since 1601-01-01 UTC
  bool operator==(const FileStamp&) const = default;
};

struct ProbeResult {
  ProbeOutcome outcome = ProbeOutcome::kUnreadable;
  FileStamp stamp;  // read for kTaken and kLeaseRefused
};

// Opens path without following a symbolic link and tries a write lease; the
// lease is given back before returning.
ProbeResult ProbeExclusive(const std::filesystem::path& path);

// st_mtim as a file time.
std::uint64_t FileTimeFromTimespec(const timespec& time);

}  // namespace orvella::jobs
