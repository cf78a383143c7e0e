#include "base/read_lines.h"

#include <cstdio>

#include "base/file_error.h"
#include "base/unique_fd.h"

namespace orvella::base {

bool ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines) {
  constexpr size_t kBufferSize = 8192;
  lines.clear();
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  std::string line;
  for (int c = std::getc(file.get()); c != EOF; c = std::getc(file.get())) {
    if (c == '\r' || c == '\n') {
      if (c == '\r') {
        int next = std::getc(file.get());
        if (next != '\n' && next != EOF) std::ungetc(next, file.get());
      }
      lines.push_back(std::move(line));
      line.clear();
      continue;
    }
    line += static_cast<char>(c);
    if (line.size() >= kBufferSize) {
      file.reset();
      lines.clear();
      throw FileError("ReadLines()バッファオーバー");
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return true;
}

}  // namespace orvella::base
