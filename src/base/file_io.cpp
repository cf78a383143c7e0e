#include "base/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/unique_fd.h"

namespace orvella::base {
namespace {

// The new file's name is the target's followed by this and six characters.
constexpr std::string_view kReplacementMark = ".save-";
constexpr std::size_t kUniqueLength = 6;

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

// An existing file keeps no more than createMode allows, and stays readable
// and writable by its owner.
mode_t ReplacementMode(mode_t existingMode, mode_t createMode) {
  return createMode & (existingMode | S_IRUSR | S_IWUSR) & 07777;
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
  if (::stat(path.c_str(), &st) == 0) mode = ReplacementMode(st.st_mode, createMode);

  std::string tmpl = path.string() + std::string(kReplacementMark) + std::string(kUniqueLength, 'X');
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  UniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
  if (!fd) return false;
  // Held until the file is renamed or removed: a file of this name without
  // the lock was left by a writer that died (RemoveAbandonedReplacements).
  // A cleaner that comes between the creation and the lock makes this save
  // fail, never tear.
  ::flock(fd.Get(), LOCK_EX);
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

int RemoveAbandonedReplacements(const std::filesystem::path& folder) {
  std::error_code ec;
  int removed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    const auto mark = name.rfind(kReplacementMark);
    if (mark == std::string::npos || mark == 0 ||
        name.size() != mark + kReplacementMark.size() + kUniqueLength || !entry.is_regular_file(ec) ||
        entry.is_symlink(ec)) {
      continue;
    }
    UniqueFd fd(::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (fd && ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 && ::unlink(entry.path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace orvella::base
