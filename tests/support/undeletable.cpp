#include "support/undeletable.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::test {
namespace {

bool SetImmutable(const std::filesystem::path& file, bool on) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}

}  // namespace

Undeletable::Undeletable(const std::filesystem::path& file) : file_(file) {
  if (::geteuid() == 0) {
    immutable_ = made_ = SetImmutable(file_, true);
  } else {
    made_ = ::chmod(file_.parent_path().c_str(), 0555) == 0;
  }
}

Undeletable::~Undeletable() {
  if (!made_) return;
  if (immutable_) {
    SetImmutable(file_, false);
  } else {
    ::chmod(file_.parent_path().c_str(), 0755);
  }
}

}  // namespace orvella::test
