#include "logging/temp_beside.h"

#include <fcntl.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdlib>

namespace orvella::logging {

base::UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& name) {
  name = path.string() + ".XXXXXX";
  return base::UniqueFd(::mkostemp(name.data(), O_CLOEXEC));
}

base::UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& name, mode_t mode) {
  // mkostemp's names, but created by open() so that the umask applies.
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    unsigned char random[6];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return {};
    name = path.string() + ".";
    for (const unsigned char r : random) name += kLetters[r % (sizeof kLetters - 1)];
    base::UniqueFd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
    if (fd || errno != EEXIST) return fd;
  }
  return {};
}

}  // namespace orvella::logging
