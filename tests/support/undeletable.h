#pragma once
// Makes a file that its folder will not let anyone remove: immutable where
// the test runs as root (root ignores folder permissions), else a folder
// without write permission. Undone when it goes out of scope.
#include <filesystem>

namespace orvella::test {

class Undeletable {
 public:
  explicit Undeletable(const std::filesystem::path& file);
  ~Undeletable();
  Undeletable(const Undeletable&) = delete;
  Undeletable& operator=(const Undeletable&) = delete;
  // False when neither way works here (a file system without the attribute).
  explicit operator bool() const { return made_; }

 private:
  std::filesystem::path file_;
  bool immutable_ = false;
  bool made_ = false;
};

}  // namespace orvella::test
