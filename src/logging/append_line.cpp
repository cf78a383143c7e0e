#include "logging/append_line.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/unique_fd.h"
#include "logging/temp_beside.h"

namespace orvella::logging {
namespace {

// Readable by the owner's group, as far as the umask allows: the logs name
// files and printers, not secrets.
constexpr mode_t kLogFileMode = 0640;

bool WriteAll(int fd, const std::string& bytes) {
  const ssize_t n = ::write(fd, bytes.data(), bytes.size());
  return n == static_cast<ssize_t>(bytes.size());
}

// Writes header to a new file beside path and links it into place: link()
// fails when another writer got there first, which is just as good.
bool CreateWithHeader(const std::filesystem::path& path, const std::string& header) {
  std::string name;
  base::UniqueFd fd = CreateTempBeside(path, name, kLogFileMode);
  if (!fd) return false;
  const bool written = WriteAll(fd.Get(), header) && fd.Close();
  const bool linked = written && (::link(name.c_str(), path.c_str()) == 0 || errno == EEXIST);
  ::unlink(name.c_str());
  return linked;
}

}  // namespace

bool AppendLine(const std::filesystem::path& path, const std::string& header, const std::string& line) {
  base::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (!fd && errno == ENOENT) {
    if (!CreateWithHeader(path, header)) return false;
    fd.Reset(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  }
  if (!fd) return false;
  // One write per line: O_APPEND places it whole at the end of the file.
  return WriteAll(fd.Get(), line) && fd.Close();
}

}  // namespace orvella::logging
