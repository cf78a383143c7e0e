#include "printfile/print_file_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace orvella::printfile {

bool PrintFileWriter::Create(const std::filesystem::path& path) {
  out_.reset(std::fopen(path.c_str(), "wb"));
  return out_ != nullptr;
}

bool PrintFileWriter::Write(std::string_view bytes) {
  if (!out_) return false;
  return std::fwrite(bytes.data(), 1, bytes.size(), out_.get()) == bytes.size();
}

bool PrintFileWriter::Copy(const std::filesystem::path& source) {
  if (!out_) return false;
  base::FilePtr in(std::fopen(source.c_str(), "rb"));
  if (!in) return false;
  struct stat st {};
  if (fstat(fileno(in.get()), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size == 0) return true;

  const size_t bufferBytes = static_cast<size_t>(std::min<uint64_t>(size, kCopyBlockBytes));
  std::unique_ptr<char[]> buffer;
  try {
    buffer = std::make_unique_for_overwrite<char[]>(bufferBytes);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // The size taken above decides the copy: whole blocks, then the rest.
  uint64_t left = size;
  while (left > 0) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kCopyBlockBytes));
    if (std::fread(buffer.get(), 1, n, in.get()) != n) return false;
    if (std::fwrite(buffer.get(), 1, n, out_.get()) != n) return false;
    left -= n;
  }
  return true;
}

bool PrintFileWriter::Close() {
  if (!out_) return false;
  const bool flushed = std::ferror(out_.get()) == 0;
  return base::CloseFile(std::move(out_)) && flushed;
}

}  // namespace orvella::printfile
