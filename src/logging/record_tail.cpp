#include "logging/record_tail.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "base/csv_text.h"

namespace orvella::logging {
namespace {

namespace fs = std::filesystem;

// Where the quotes stand after the first skip bytes of the file, read in
// pieces; false when the file cannot be read that far.
bool FollowQuotes(std::ifstream& in, std::uintmax_t skip, base::CsvBoundaryFinder& finder) {
  std::string piece(64 * 1024, '\0');
  for (std::uintmax_t left = skip; left > 0;) {
    const auto want = static_cast<std::streamsize>(std::min<std::uintmax_t>(left, piece.size()));
    if (!in.read(piece.data(), want)) return false;
    finder.Feed(std::string_view(piece.data(), static_cast<std::size_t>(want)));
    left -= static_cast<std::uintmax_t>(want);
  }
  return true;
}

}  // namespace

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::regular;
}

std::optional<std::string> ReadRecordTail(const fs::path& file, std::uintmax_t maxBytes, bool& truncated) {
  if (!IsRegularFile(file)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::uintmax_t size = static_cast<std::uintmax_t>(std::max<std::streamoff>(in.tellg(), 0));
  truncated = size > maxBytes;
  const std::uintmax_t skip = truncated ? size - maxBytes : 0;
  in.seekg(0);
  base::CsvBoundaryFinder finder;
  if (!FollowQuotes(in, skip, finder)) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size - skip), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (truncated) bytes.erase(0, std::min(finder.Feed(bytes), bytes.size()));
  return bytes;
}

}  // namespace orvella::logging
