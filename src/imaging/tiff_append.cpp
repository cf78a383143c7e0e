#include "imaging/tiff_append.h"

#include <cstdio>
#include <memory>
#include <system_error>
#include <utility>

#include "base/unique_fd.h"

namespace orvella::imaging {
namespace {

constexpr size_t kBlockBytes = 1024 * 1024;

}  // namespace

bool AppendFile(const std::filesystem::path& target, const std::filesystem::path& source) {
  std::error_code ec;
  if (std::filesystem::equivalent(target, source, ec)) return false;
  base::FilePtr in(std::fopen(source.c_str(), "rb"));
  if (!in) return false;
  base::FilePtr out(std::fopen(target.c_str(), "ab"));
  if (!out) return false;
  auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
  for (;;) {
    const size_t n = std::fread(block.get(), 1, kBlockBytes, in.get());
    if (n == 0) break;
    if (std::fwrite(block.get(), 1, n, out.get()) != n) return false;
  }
  if (std::ferror(in.get())) return false;
  return base::CloseFile(std::move(out));
}

}  // namespace orvella::imaging
