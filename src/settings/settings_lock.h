#pragma once
// Serialises the read-change-write of the settings files of one folder across
// threads and processes: an exclusive flock on the folder itself. No lock file
// is made, so nothing that lists the folder sees one. Each lock opens the
// folder anew, and flock belongs to that open, so two locks in one process
// exclude each other as two processes do; a second lock of the same folder on
// the same thread therefore waits for ever.
#include <filesystem>

#include "base/unique_fd.h"

namespace orvella::settings {

class SettingsFolderLock {
 public:
  // Waits for the folder's lock. A folder that cannot be opened or locked (a
  // missing one, or a file system without flock) is written without it: the
  // write then fails, or succeeds, on its own.
  explicit SettingsFolderLock(const std::filesystem::path& folder);
  SettingsFolderLock(SettingsFolderLock&&) = default;
  SettingsFolderLock& operator=(SettingsFolderLock&&) = default;

  // The lock of the folder that holds file.
  static SettingsFolderLock For(const std::filesystem::path& file);

 private:
  base::UniqueFd fd_;  // unlocked by its closing
};

}  // namespace orvella::settings
