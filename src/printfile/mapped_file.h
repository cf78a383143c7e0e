#pragma once
// A whole file mapped read-only, so large print files are inspected without
// copying them into memory.
#include <filesystem>
#include <string>
#include <string_view>

namespace orvella::printfile {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // False with a reason in error when the file cannot be opened or mapped.
  bool Open(const std::filesystem::path& path, std::string& error);
  std::string_view Bytes() const { return {static_cast<const char*>(data_), size_}; }

 private:
  void* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace orvella::printfile
