#include "base/unique_fd.h"

#include <unistd.h>

namespace orvella::base {

void UniqueFd::Reset(int fd) noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool UniqueFd::Close() noexcept {
  const int fd = Release();
  return fd >= 0 && ::close(fd) == 0;
}

bool CloseFile(FilePtr file) noexcept {
  std::FILE* f = file.release();
  return f != nullptr && std::fclose(f) == 0;
}

}  // namespace orvella::base
