#include "settings/input_folder_state.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/unique_fd.h"

namespace orvella::settings {

std::optional<std::string> InputFolderProblem(const std::string& inputDir) {
  if (inputDir.empty()) return "is empty (names no folder)";
  const base::UniqueFd dir(::open(inputDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) {
    if (errno == ENOENT) return "does not exist";
    if (errno == ENOTDIR) return "is not a folder";
    return std::string("cannot be read: ") + std::strerror(errno);
  }
  // Listing needs read permission; opening the files in it needs search (x).
  if (::faccessat(dir.Get(), ".", X_OK, 0) != 0)
    return std::string("cannot be read: ") + std::strerror(errno);
  return std::nullopt;
}

}  // namespace orvella::settings
