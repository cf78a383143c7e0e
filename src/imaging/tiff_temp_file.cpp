#include "imaging/tiff_temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "imaging/tiff_detail.h"

namespace orvella::imaging {

FileRemover::~FileRemover() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

NewFile CreateNumberedSibling(const std::filesystem::path& target) {
  NewFile file;
  for (int n = 0; n <= 99999; ++n) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "_%05d", n);
    std::filesystem::path candidate = target;
    candidate += suffix;
    // O_EXCL claims the name: two writers never share it.
    file.fd.Reset(::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (file.fd) {
      file.path = candidate;
      return file;
    }
    if (errno != EEXIST) {
      file.failure = "cannot create " + candidate.string() + ": " + SystemText();
      return file;
    }
  }
  file.failure = "every name from " + target.string() + "_00000 to _99999 is taken";
  return file;
}

}  // namespace orvella::imaging
