#pragma once
// A new file next to the one it will replace or create, so a rename or link
// puts whole content into place.
#include <sys/types.h>

#include <filesystem>
#include <string>

#include "base/unique_fd.h"

namespace orvella::logging {

// Creates "<path>.XXXXXX" (mode 0600, close-on-exec) and sets name to it; an
// empty descriptor, with errno set, when that fails.
base::UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& name);

// The same, open for writing, with mode narrowed by the process umask as any
// file open() creates: for a file that others may read once it is in place.
base::UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& name, mode_t mode);

}  // namespace orvella::logging
