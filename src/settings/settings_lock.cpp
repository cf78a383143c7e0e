#include "settings/settings_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace orvella::settings {

SettingsFolderLock::SettingsFolderLock(const std::filesystem::path& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (!fd_) return;
  while (::flock(fd_.Get(), LOCK_EX) != 0) {
    if (errno != EINTR) return;
  }
}

SettingsFolderLock SettingsFolderLock::For(const std::filesystem::path& file) {
  return SettingsFolderLock(file.has_parent_path() ? file.parent_path() : std::filesystem::path("."));
}

}  // namespace orvella::settings
