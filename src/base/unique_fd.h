#pragma once
// Owners of open files: a file descriptor and a stdio stream, each closed
// exactly once, by its owner.
#include <cstdio>
#include <memory>

namespace orvella::base {

// Owns one file descriptor; -1 is none. Move-only.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) noexcept : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Gives the descriptor up without closing it.
  int Release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes the descriptor held, if any, and takes fd.
  void Reset(int fd = -1) noexcept;
  // Closes now; false when close() reports an error (for a file just
  // written, data that may not have reached it) or nothing was open.
  bool Close() noexcept;

 private:
  int fd_ = -1;
};

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
// Owns one stdio stream.
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Closes file now; false when fclose() reports an error (for a stream just
// written, data that did not reach the file) or nothing was open.
bool CloseFile(FilePtr file) noexcept;

}  // namespace orvella::base
