#include "settings/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>

#include "settings/program_folders.h"

namespace orvella::settings {
namespace {

std::string ErrnoText(const std::string& what, const std::filesystem::path& path) {
  return what + " " + path.string() + ": " + std::strerror(errno);
}

pid_t ReadHolder(int fd) {
  char text[32] = {};
  const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  pid_t pid = 0;
  if (got > 0) std::from_chars(text, text + got, pid);
  return pid > 0 ? pid : 0;
}

}  // namespace

InstanceLockAttempt AcquireInstanceLock(const std::filesystem::path& program) {
  InstanceLockAttempt attempt;
  const std::filesystem::path temp = TempFolder(program);
  std::error_code ec;
  std::filesystem::create_directories(temp, ec);
  const std::filesystem::path path = temp / kInstanceLockName;
  // Close-on-exec: a child started for a notice must not keep the lock alive.
  base::UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (!fd) {
    attempt.detail = ErrnoText("cannot open the lock file", path);
    return attempt;
  }
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) {
      attempt.held = true;
      attempt.holder = ReadHolder(fd.Get());
      attempt.detail = "another process holds " + path.string();
    } else {
      attempt.detail = ErrnoText("cannot lock", path);
    }
    return attempt;
  }
  const std::string pid = std::to_string(::getpid()) + "\n";
  // When this fails the lock holds all the same; others are only not told who holds it.
  [[maybe_unused]] const bool written =
      ::ftruncate(fd.Get(), 0) == 0 && ::pwrite(fd.Get(), pid.data(), pid.size(), 0) > 0;
  attempt.lock = InstanceLock(std::move(fd));
  return attempt;
}

}  // namespace orvella::settings
