#include "jobs/input_file_type.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <string_view>

#include "base/unique_fd.h"
namespace orvella::jobs {
namespace {

constexpr char kEsc = 0x1B;
constexpr std::string_view kUel = "\x1B%-12345X@PJL";  // 13 bytes
constexpr std::string_view kEnterLanguage = "@PJL ENTER LANGUAGE";
constexpr std::string_view kGl2 = "GL2";

// Reads a file byte by byte through a buffer; a read error ends it like the
// end of file but is remembered.
class ByteReader {
 public:
  explicit ByteReader(int fd) : fd_(fd) {}
  // Next byte, or -1 at the end.
  int Next() {
    if (pos_ == size_) {
      const ssize_t n = read(fd_, buffer_.data(), buffer_.size());
      if (n <= 0) {
        failed_ = failed_ || n < 0;
        return -1;
      }
      pos_ = 0;
      size_ = static_cast<std::size_t>(n);
    }
    return static_cast<unsigned char>(buffer_[pos_++]);
  }
  bool Failed() const { return failed_; }

 private:
  int fd_;
  std::array<char, 65536> buffer_{};
  std::size_t pos_ = 0;
  std::size_t size_ = 0;
  bool failed_ = false;
};

// Advances a plain pattern match by one byte: a byte that does not match
// starts the pattern over and is not tried again. True when the pattern is complete.
bool Advance(std::string_view pattern, std::size_t& matched, int byte) {
  if (byte == static_cast<unsigned char>(pattern[matched])) {
    return ++matched == pattern.size();
  }
  matched = 0;
  return false;
}

// The envelope's language line enters a language containing GL2 after its "=".
bool EntersGl2(ByteReader& reader, char firstEnd, char secondEnd) {
  std::size_t matched = 0;
  int byte;
  do {
    byte = reader.Next();
    if (byte < 0) return false;
  } while (!Advance(kEnterLanguage, matched, byte));

  matched = 0;
  bool afterEquals = false;
  while ((byte = reader.Next()) >= 0 && byte != kEsc && byte != firstEnd && byte != secondEnd) {
    afterEquals = afterEquals || byte == '=';
    if (afterEquals && Advance(kGl2, matched, byte)) return true;
  }
  return false;
}

}  // namespace

bool DetectInputFileType(const std::filesystem::path& path, InputFileType& type, bool enableUnsupportedGl) {
  type = InputFileType::kUnsupported;
  // Non-blocking so that a FIFO in a hot folder cannot hold the caller at the open.
  const base::UniqueFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!file || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;

  std::array<char, 32> head{};  // bytes beyond the end count as 0
  ssize_t got = 0;
  while (got < static_cast<ssize_t>(head.size())) {
    const ssize_t n = read(file.Get(), head.data() + got, head.size() - static_cast<std::size_t>(got));
    if (n < 0) return false;
    if (n == 0) break;
    got += n;
  }

  if ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M')) {
    type = InputFileType::kTiff;
    return true;
  }
  if (std::memcmp(head.data(), kUel.data(), kUel.size()) == 0 && (head[13] == '\r' || head[13] == '\n')) {
    const char firstEnd = head[13];
    const char secondEnd = head[13] == '\r' && head[14] == '\n' ? '\n' : head[13];
    if (lseek(file.Get(), 0, SEEK_SET) != 0) return false;
    ByteReader reader(file.Get());
    if (EntersGl2(reader, firstEnd, secondEnd)) type = InputFileType::kHpgl2;
    return !reader.Failed();
  }
  type = enableUnsupportedGl ? InputFileType::kHpgl2 : InputFileType::kUnsupported;
  return true;
}

}  // namespace orvella::jobs
