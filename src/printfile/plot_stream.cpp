#include "printfile/plot_stream.h"

#include <cstring>

namespace orvella::printfile {

PlotReader::PlotReader(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "rb")) {}

PlotReader::~PlotReader() {
  if (file_) std::fclose(file_);
}

// Keeps the unread bytes and one byte before them (for Unget), then reads
// until at least wanted bytes are unread or the file ends.
bool PlotReader::Fill(size_t wanted) {
  if (!file_ || failed_) return false;
  const size_t keep = next_ > 0 ? next_ - 1 : 0;
  std::memmove(buffer_, buffer_ + keep, size_ - keep);
  consumed_ += keep;
  size_ -= keep;
  next_ -= keep;
  while (size_ - next_ < wanted && size_ < kChunk) {
    const size_t got = std::fread(buffer_ + size_, 1, kChunk - size_, file_);
    size_ += got;
    if (got == 0) {
      if (std::ferror(file_)) failed_ = true;
      break;
    }
  }
  return size_ - next_ >= wanted;
}

std::string_view PlotReader::Peek(size_t count) {
  if (size_ - next_ < count) Fill(count);
  const size_t available = size_ - next_;
  return {buffer_ + next_, available < count ? available : count};
}

PlotWriter::PlotWriter(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "wb")) {}

PlotWriter::~PlotWriter() {
  if (file_) std::fclose(file_);
}

void PlotWriter::Flush() {
  if (used_ > 0 && std::fwrite(buffer_, 1, used_, file_) != used_) failed_ = true;
  used_ = 0;
}

void PlotWriter::Write(std::string_view bytes) {
  if (bytes.size() <= kChunk - used_) {
    std::memcpy(buffer_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return;
  }
  Flush();
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

void PlotWriter::WriteZeros(uint64_t count) {
  static constexpr char kZeros[4096] = {};
  for (; count > sizeof kZeros; count -= sizeof kZeros) Write({kZeros, sizeof kZeros});
  Write({kZeros, static_cast<size_t>(count)});
}

bool PlotWriter::Close() {
  if (!file_) return false;
  Flush();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed && !failed_;
}

}  // namespace orvella::printfile
