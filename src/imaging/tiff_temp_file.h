#pragma once
// Files of the TIFF operations: stdio handles, and temporary and output files
// made without races and removed on every path unless kept.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace orvella::imaging {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
// Callers that check fclose's result release the pointer and close it themselves.
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

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

// A file created new and opened read-write; fd is -1 when none could be made,
// and failure then says why.
struct NewFile {
  int fd = -1;
  std::filesystem::path path;
  std::string failure;
};

// "<system temp folder>/<prefix>XXXXXX".
NewFile CreateSystemTempFile(const char* prefix);
// The first of "<target>_00000" .. "<target>_99999" that does not exist yet.
NewFile CreateNumberedSibling(const std::filesystem::path& target);

}  // namespace orvella::imaging
