#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "base/unique_fd.h"

namespace orvella::base {
namespace {

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& bytes, size_t maxBytes) {
  bytes.clear();
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return errno == ENOENT || errno == ENOTDIR ? ReadStatus::kMissing : ReadStatus::kFailed;
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadStatus::kFailed;
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) return ReadStatus::kFailed;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ReadStatus::kFailed;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > maxBytes) return ReadStatus::kFailed;
    bytes.append(buf, static_cast<size_t>(n));
  }
  return ReadStatus::kOk;
}

bool ReplaceFileAtomically(const std::filesystem::path& path, const std::string& bytes, mode_t createMode) {
  mode_t mode = createMode;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;

  std::string tmpl = path.string() + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  UniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
  if (!fd) return false;
  const std::string tmpPath(name.data());
  // mkostemp creates 0600; umask is not consulted (it is process-wide state).
  bool ok = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), bytes.data(), bytes.size()) &&
            ::fsync(fd.Get()) == 0;
  ok = fd.Close() && ok;
  if (ok) ok = ::rename(tmpPath.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(tmpPath.c_str());
    return false;
  }
  UniqueFd dir(::open(path.parent_path().empty() ? "." : path.parent_path().c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.Get());
  return true;
}

}  // namespace orvella::base
