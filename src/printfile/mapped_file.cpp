#include "printfile/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/unique_fd.h"

namespace orvella::printfile {

MappedFile::~MappedFile() {
  if (data_ != nullptr) munmap(data_, size_);
}

bool MappedFile::Open(const std::filesystem::path& path, std::string& error) {
  const base::UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    error = path.string() + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  bool ok = fstat(fd.Get(), &st) == 0;
  if (!ok) {
    error = path.string() + ": " + std::strerror(errno);
  } else if (!S_ISREG(st.st_mode)) {
    error = path.string() + ": not a regular file";
    ok = false;
  } else if (st.st_size > 0) {
    void* p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (p == MAP_FAILED) {
      error = path.string() + ": " + std::strerror(errno);
      ok = false;
    } else {
      data_ = p;
      size_ = static_cast<size_t>(st.st_size);
    }
  }
  return ok;
}

}  // namespace orvella::printfile
