#pragma once
// Writes one print file from scratch: header, copied source files, trailer.
#include <filesystem>
#include <string>
#include <string_view>

#include "base/unique_fd.h"

namespace orvella::printfile {

// Sources are copied in blocks of this size plus one block of the rest.
inline constexpr size_t kCopyBlockBytes = 10 * 1024 * 1024;

class PrintFileWriter {
 public:
  // Creates (or truncates) the output file; false when it cannot.
  bool Create(const std::filesystem::path& path);
  bool Write(std::string_view bytes);
  // Appends a whole source file; false when it cannot be opened or sized,
  // is not a regular file, or does not deliver the size it had.
  bool Copy(const std::filesystem::path& source);
  // Closes the output; true when every byte reached the file. The file is
  // closed exactly once, here or (after a failure) by the destructor.
  bool Close();
  // Close, for a file whose writing went as written says: true when it did
  // and the close succeeded; else false, and detail (when given) receives
  // which file the first failure concerned and why, in the system's words.
  bool Finish(bool written, std::string* detail);

 private:
  // Keeps the first failure: later steps only fail because of it.
  bool Fail(std::string what);
  bool FailWithErrno(const std::string& what);

  base::FilePtr out_;
  std::filesystem::path path_;
  std::string failure_;
};

}  // namespace orvella::printfile
