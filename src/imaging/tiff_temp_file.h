#pragma once
// Files of the TIFF operations: temporary and output files made without races
// and removed on every path unless kept.
#include <filesystem>
#include <string>

#include "base/unique_fd.h"

namespace orvella::imaging {

// Removes the file when it goes out of scope, unless Keep() was called.
class FileRemover {
 public:
  explicit FileRemover(std::filesystem::path path = {}) : path_(std::move(path)) {}
  ~FileRemover();
  FileRemover(const FileRemover&) = delete;
  FileRemover& operator=(const FileRemover&) = delete;
  void Keep() { path_.clear(); }

 private:
  std::filesystem::path path_;
};

// A file created new and opened read-write; fd holds none when none could be
// made, and failure then says why.
struct NewFile {
  base::UniqueFd fd;
  std::filesystem::path path;
  std::string failure;
};

// The first of "<target>_00000" .. "<target>_99999" that does not exist yet.
NewFile CreateNumberedSibling(const std::filesystem::path& target);

}  // namespace orvella::imaging
