#pragma once
// Writes one print file from scratch: header, copied source files, trailer.
#include <filesystem>
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

 private:
  base::FilePtr out_;
};

}  // namespace orvella::printfile
