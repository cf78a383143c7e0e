#include "imaging/tiff_repacked_rows.h"

#include <cstdio>
#include <limits>
#include <utility>

#include "imaging/tiff_detail.h"
#include "imaging/tiff_file.h"

namespace orvella::imaging {
namespace {

constexpr size_t kBufferBytes = size_t{1} << 20;

}  // namespace

TiffResult RepackedRowWriter::Start(const std::filesystem::path& target, const RepackedPage& page,
                                    const FileHook& hook, std::string* detail) {
  rowBytes_ = RowBytes(page.width);
  length_ = page.length;
  const uint64_t stripBytes = static_cast<uint64_t>(rowBytes_) * page.length;
  // The header has 32 bits for the strip's size.
  if (stripBytes > std::numeric_limits<uint32_t>::max()) {
    return WithDetail(detail, kTiffWriteError,
                      "the page's strip of " + std::to_string(stripBytes) +
                          " bytes is larger than a repacked file can hold (4 GiB)");
  }
  target_ = target;
  hook_ = hook;
  out_.reset(std::fopen(target.c_str(), "wb"));
  if (!out_) {
    return WithDetail(detail, kTiffOpenError, "cannot create " + target.string() + ": " + SystemText());
  }
  remover_.emplace(target);
  // Rows are small and a page has thousands of them: write in large pieces.
  std::setvbuf(out_.get(), nullptr, _IOFBF, kBufferBytes);
  if (hook_ && !hook_(out_.get(), true)) {
    return WithDetail(detail, kTiffCallbackError,
                      "cannot write " + target.string() + ": the data before the image failed");
  }
  RepackedPage header = page;
  header.compressed = false;
  const auto bytes = RepackedHeader(header, static_cast<uint32_t>(stripBytes));
  if (std::fwrite(bytes.data(), 1, bytes.size(), out_.get()) != bytes.size())
    return WithDetail(detail, kTiffWriteError, "cannot write " + target.string() + ": " + SystemText());
  return kTiffOk;
}

bool RepackedRowWriter::WriteRow(const uint8_t* row, uint32_t y) {
  if (y != written_ || y >= length_) return false;
  if (std::fwrite(row, 1, rowBytes_, out_.get()) != rowBytes_) return false;
  ++written_;
  return true;
}

std::string RepackedRowWriter::RowFailure(uint32_t y) const {
  return "row " + std::to_string(static_cast<unsigned long long>(y) + 1) + " cannot be written to " +
         target_.string() + ": " + SystemText();
}

TiffResult RepackedRowWriter::Finish(std::string* detail) {
  const std::string writeFailed = "cannot write " + target_.string();
  if (written_ != length_) {
    return WithDetail(detail, kTiffWriteError,
                      writeFailed + ": " + std::to_string(written_) + " of " + std::to_string(length_) +
                          " rows were written");
  }
  if (hook_ && !hook_(out_.get(), false))
    return WithDetail(detail, kTiffCallbackError, writeFailed + ": the data after the image failed");
  if (!base::CloseFile(std::move(out_)))
    return WithDetail(detail, kTiffWriteError, writeFailed + ": " + SystemText());
  remover_->Keep();
  return kTiffOk;
}

}  // namespace orvella::imaging
