#pragma once
// A private new file next to the one it will replace or create, so a rename
// or link puts whole content into place.
#include <filesystem>
#include <string>

#include "base/unique_fd.h"

namespace orvella::logging {

// Creates "<path>.XXXXXX" (mode 0600, close-on-exec) and sets name to it; an
// empty descriptor, with errno set, when that fails.
base::UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& name);

}  // namespace orvella::logging
