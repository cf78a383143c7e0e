#include "settings/work_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

#include "settings/program_folders.h"

namespace orvella::settings {
namespace {

constexpr const char* kPrefix = "job-";
constexpr const char* kOwnerFile = ".owner";
// A folder without its owner file is one being made right now, unless it is
// older than this: then its maker died before taking the lock.
constexpr auto kOwnerlessGrace = std::chrono::seconds(60);

std::string ErrnoText(const std::string& what, const std::filesystem::path& path) {
  return what + " " + path.string() + ": " + std::strerror(errno);
}

bool IsOwnerlessAndOld(const std::filesystem::path& folder) {
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(folder, ec);
  if (ec) return false;
  return std::filesystem::file_time_type::clock::now() - written > kOwnerlessGrace;
}

// True when nobody holds the folder's owner lock any more.
bool IsAbandoned(const std::filesystem::path& folder) {
  const int fd = ::open((folder / kOwnerFile).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno == ENOENT && IsOwnerlessAndOld(folder);
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

}  // namespace

std::optional<WorkFolder> WorkFolder::Create(const std::filesystem::path& program, std::string& detail) {
  const std::filesystem::path temp = TempFolder(program);
  std::error_code ec;
  std::filesystem::create_directories(temp, ec);
  std::string pattern = (temp / (std::string(kPrefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) {
    detail = ErrnoText("cannot create a work folder in", temp);
    return std::nullopt;
  }
  const std::filesystem::path folder(pattern);
  const int fd = ::open((folder / kOwnerFile).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0 || ::flock(fd, LOCK_EX) != 0) {
    detail = ErrnoText("cannot lock the work folder", folder);
    if (fd >= 0) ::close(fd);
    std::filesystem::remove_all(folder, ec);
    return std::nullopt;
  }
  return WorkFolder(program, folder, fd);
}

WorkFolder::WorkFolder(std::filesystem::path program, std::filesystem::path path, int lockFd)
    : program_(std::move(program)), path_(std::move(path)), lockFd_(lockFd) {}

WorkFolder::WorkFolder(WorkFolder&& other) noexcept
    : program_(std::move(other.program_)),
      path_(std::exchange(other.path_, {})),
      lockFd_(std::exchange(other.lockFd_, -1)) {}

WorkFolder::~WorkFolder() {
  if (!path_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  if (lockFd_ >= 0) ::close(lockFd_);
}

int RemoveStaleWorkFolders(const std::filesystem::path& program) {
  std::error_code ec;
  std::vector<std::filesystem::path> stale;
  for (const auto& entry : std::filesystem::directory_iterator(TempFolder(program), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kPrefix, 0) != 0 || !entry.is_directory(ec) || entry.is_symlink(ec)) continue;
    if (IsAbandoned(entry.path())) stale.push_back(entry.path());
  }
  int removed = 0;
  for (const auto& folder : stale) {
    if (std::filesystem::remove_all(folder, ec) > 0 && !ec) ++removed;
  }
  return removed;
}

}  // namespace orvella::settings
