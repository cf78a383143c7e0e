#include "printfile/print_file_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace orvella::printfile {

bool PrintFileWriter::Fail(std::string what) {
  if (failure_.empty()) failure_ = std::move(what);
  return false;
}

bool PrintFileWriter::FailWithErrno(const std::string& what) {
  const int cause = errno;
  return Fail(cause != 0 ? what + ": " + std::strerror(cause) : what);
}

bool PrintFileWriter::Create(const std::filesystem::path& path) {
  path_ = path;
  errno = 0;
  out_.reset(std::fopen(path.c_str(), "wb"));
  if (!out_) return FailWithErrno("cannot create the print file " + path.string());
  return true;
}

bool PrintFileWriter::Write(std::string_view bytes) {
  if (!out_) return false;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out_.get()) == bytes.size()) return true;
  return FailWithErrno("cannot write the print file " + path_.string());
}

bool PrintFileWriter::Copy(const std::filesystem::path& source) {
  if (!out_) return false;
  errno = 0;
  base::FilePtr in(std::fopen(source.c_str(), "rb"));
  if (!in) return FailWithErrno("cannot open " + source.string());
  struct stat st {};
  if (fstat(fileno(in.get()), &st) != 0) return FailWithErrno("cannot size " + source.string());
  if (S_ISDIR(st.st_mode)) return Fail(source.string() + " is a folder, not a file");
  if (!S_ISREG(st.st_mode)) return Fail(source.string() + " is not a regular file");
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size == 0) return true;

  const size_t bufferBytes = static_cast<size_t>(std::min<uint64_t>(size, kCopyBlockBytes));
  std::unique_ptr<char[]> buffer;
  try {
    buffer = std::make_unique_for_overwrite<char[]>(bufferBytes);
  } catch (const std::bad_alloc&) {
    return Fail("no memory for a copy buffer of " + std::to_string(bufferBytes) + " bytes");
  }
  // The size taken above decides the copy: whole blocks, then the rest.
  uint64_t left = size;
  while (left > 0) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kCopyBlockBytes));
    errno = 0;
    if (const size_t got = std::fread(buffer.get(), 1, n, in.get()); got != n) {
      if (std::ferror(in.get())) return FailWithErrno("cannot read " + source.string());
      return Fail(source.string() + " ended after " + std::to_string(size - left + got) + " of its " +
                  std::to_string(size) + " bytes (it changed while it was copied)");
    }
    errno = 0;
    if (std::fwrite(buffer.get(), 1, n, out_.get()) != n)
      return FailWithErrno("cannot write the print file " + path_.string());
    left -= n;
  }
  return true;
}

bool PrintFileWriter::Close() {
  if (!out_) return false;
  const bool flushed = std::ferror(out_.get()) == 0;
  errno = 0;
  if (!base::CloseFile(std::move(out_)))
    return FailWithErrno("cannot write the print file " + path_.string());
  return flushed || Fail("cannot write the print file " + path_.string());
}

bool PrintFileWriter::Finish(bool written, std::string* detail) {
  if (Close() && written) return true;
  if (detail) *detail = failure_;
  return false;
}

}  // namespace orvella::printfile
