#include "imaging/tiff_append.h"

#include <cstdio>
#include <memory>
#include <system_error>
#include <utility>

#include "base/unique_fd.h"
#include "imaging/tiff_detail.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {
namespace {

constexpr size_t kBlockBytes = 1024 * 1024;

}  // namespace

TiffResult AppendFile(const std::filesystem::path& target, const std::filesystem::path& source,
                      std::string* detail) {
  // What errno says about the stdio call that just failed.
  auto fail = [detail](TiffResult code, const std::string& what) {
    return WithDetail(detail, code, what + ": " + SystemText());
  };
  std::error_code ec;
  if (std::filesystem::equivalent(target, source, ec)) {
    return WithDetail(detail, kTiffOpenError,
                      "cannot append " + source.string() + " to itself (" + target.string() + ")");
  }
  base::FilePtr in(std::fopen(source.c_str(), "rb"));
  if (!in) return fail(kTiffOpenError, "cannot open " + source.string());
  base::FilePtr out(std::fopen(target.c_str(), "ab"));
  if (!out) return fail(kTiffOpenError, "cannot open " + target.string() + " for appending");
  auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
  for (;;) {
    const size_t n = std::fread(block.get(), 1, kBlockBytes, in.get());
    if (n == 0) break;
    if (std::fwrite(block.get(), 1, n, out.get()) != n)
      return fail(kTiffWriteError, "cannot write " + target.string());
  }
  if (std::ferror(in.get())) return fail(kTiffReadError, "cannot read " + source.string());
  if (!base::CloseFile(std::move(out))) return fail(kTiffWriteError, "cannot write " + target.string());
  return kTiffOk;
}

}  // namespace orvella::imaging
