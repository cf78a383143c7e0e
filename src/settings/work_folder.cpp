#include "settings/work_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>
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
// A folder is made under this name and renamed to "job-..." once its owner
// holds the lock, so a cleaner never sees a live folder without its lock.
constexpr const char* kNewPrefix = ".new-job-";
constexpr const char* kOwnerFile = ".owner";
// Less room than this on TEMP's file system counts as full.
constexpr unsigned long long kLeastRoom = 1024 * 1024;
// A half-made folder older than this was left by a maker that died.
constexpr auto kHalfMadeGrace = std::chrono::seconds(60);

std::string ErrnoText(const std::string& what, const std::filesystem::path& path) {
  return what + " " + path.string() + ": " + std::strerror(errno);
}

bool IsOld(const std::filesystem::path& folder) {
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(folder, ec);
  if (ec) return false;
  return std::filesystem::file_time_type::clock::now() - written > kHalfMadeGrace;
}

// True when nobody holds the folder's owner lock any more.
bool IsAbandoned(const std::filesystem::path& folder) {
  const int fd = ::open((folder / kOwnerFile).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return true;  // a finished folder always has its owner file
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

}  // namespace

std::optional<WorkFolder> WorkFolder::Create(const std::filesystem::path& program, std::string& detail) {
  const std::filesystem::path temp = TempFolder(program);
  std::error_code ec;
  std::filesystem::create_directories(temp, ec);
  std::string pattern = (temp / (std::string(kNewPrefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) {
    detail = ErrnoText("cannot create a work folder in", temp);
    return std::nullopt;
  }
  const std::filesystem::path made(pattern);
  const std::filesystem::path folder =
      temp / (kPrefix + made.filename().string().substr(std::string_view(kNewPrefix).size()));
  const int fd =
      ::open((made / kOwnerFile).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::rename(made.c_str(), folder.c_str()) != 0) {
    detail = ErrnoText("cannot set up the work folder", made);
    if (fd >= 0) ::close(fd);
    std::filesystem::remove_all(made, ec);
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

bool WorkFolder::OutOfRoom() const {
  struct statvfs room {};
  if (::statvfs(path_.c_str(), &room) != 0) return false;
  return static_cast<unsigned long long>(room.f_bavail) * room.f_frsize < kLeastRoom;
}

int RemoveStaleWorkFolders(const std::filesystem::path& program) {
  std::error_code ec;
  std::vector<std::filesystem::path> stale;
  for (const auto& entry : std::filesystem::directory_iterator(TempFolder(program), ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory(ec) || entry.is_symlink(ec)) continue;
    const bool finished = name.rfind(kPrefix, 0) == 0;
    const bool halfMade = name.rfind(kNewPrefix, 0) == 0;
    if ((finished && IsAbandoned(entry.path())) || (halfMade && IsOld(entry.path())))
      stale.push_back(entry.path());
  }
  int removed = 0;
  for (const auto& folder : stale) {
    if (std::filesystem::remove_all(folder, ec) > 0 && !ec) ++removed;
  }
  return removed;
}

}  // namespace orvella::settings
