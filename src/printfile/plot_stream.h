#pragma once
// Plot files are read and written in small chunks so that a plot of any size
// is handled in constant memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvella::printfile {

inline constexpr int kEndOfPlot = -1;

// A byte source with a few bytes of look-ahead and put-back.
class PlotReader {
 public:
  explicit PlotReader(const std::filesystem::path& path);
  ~PlotReader();
  PlotReader(const PlotReader&) = delete;
  PlotReader& operator=(const PlotReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // True once a read of the file failed (not at its end).
  bool Failed() const { return failed_; }
  // The offset of the next byte Get returns.
  uint64_t Position() const { return consumed_ + next_; }

  int Get() {
    if (next_ == size_ && !Fill(1)) return kEndOfPlot;
    return static_cast<unsigned char>(buffer_[next_++]);
  }
  // Puts back the byte Get returned last (never more than one).
  void Unget() {
    if (next_ > 0) --next_;
  }
  // The next count bytes (fewer at the end of the file) without taking them.
  std::string_view Peek(size_t count);
  void Skip(size_t count) { next_ += count; }
  // All unread bytes of the buffer, reading more when there are none; empty
  // at the end of the file. Unget cannot follow.
  std::string_view TakeChunk() {
    if (next_ == size_ && !Fill(1)) return {};
    const std::string_view chunk(buffer_ + next_, size_ - next_);
    next_ = size_;
    return chunk;
  }

 private:
  bool Fill(size_t wanted);

  static constexpr size_t kChunk = 1 << 16;
  std::FILE* file_ = nullptr;
  char buffer_[kChunk];
  size_t next_ = 0;
  size_t size_ = 0;
  uint64_t consumed_ = 0;  // file bytes before buffer_[0]
  bool failed_ = false;
};

// A buffered sink; Close reports whether every byte reached the file.
class PlotWriter {
 public:
  explicit PlotWriter(const std::filesystem::path& path);
  ~PlotWriter();
  PlotWriter(const PlotWriter&) = delete;
  PlotWriter& operator=(const PlotWriter&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  void Put(char byte) {
    if (used_ == kChunk) Flush();
    buffer_[used_++] = byte;
  }
  void Write(std::string_view bytes);
  void WriteZeros(uint64_t count);
  bool Close();

 private:
  void Flush();

  static constexpr size_t kChunk = 1 << 16;
  std::FILE* file_ = nullptr;
  char buffer_[kChunk];
  size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace orvella::printfile
