#pragma once
// One running system per program folder: the GUI and the headless service
// both hold this lock for their whole life, so they exclude each other. The
// kernel releases it when the process ends, however it ends.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "base/unique_fd.h"

namespace orvella::settings {

// The lock file under TEMP; it holds the holder's process id.
inline constexpr const char* kInstanceLockName = "orvella.lock";

// Held while the value lives (the open lock file); move-only.
class InstanceLock {
 public:
  explicit InstanceLock(base::UniqueFd fd) : fd_(std::move(fd)) {}

 private:
  base::UniqueFd fd_;
};

struct InstanceLockAttempt {
  std::optional<InstanceLock> lock;  // set when this process holds it now
  bool held = false;                 // another process holds it (not some other failure)
  pid_t holder = 0;                  // the holder's id (0 when unknown)
  std::string detail;                // no lock: why, in plain English
};

// Takes the program folder's lock without waiting (TEMP is created when
// missing).
InstanceLockAttempt AcquireInstanceLock(const std::filesystem::path& program);

}  // namespace orvella::settings
