#include "logging/temp_beside.h"

#include <fcntl.h>

#include <cstdlib>

namespace orvella::logging {

base::UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& name) {
  name = path.string() + ".XXXXXX";
  return base::UniqueFd(::mkostemp(name.data(), O_CLOEXEC));
}

}  // namespace orvella::logging
