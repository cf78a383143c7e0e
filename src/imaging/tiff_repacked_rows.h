#pragma once
// An uncompressed repacked single-strip TIFF written row by row straight to
// its file: the strip's size is known before the first row, so no libtiff
// intermediate is written and copied.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/unique_fd.h"
#include "imaging/tiff_repack.h"
#include "imaging/tiff_temp_file.h"

namespace orvella::imaging {

class RepackedRowWriter {
 public:
  // Creates target and writes what the hook puts before the image and the
  // header for page (compressed is ignored: the strip is stored as it is).
  // The target is removed unless Finish succeeds. detail, when given,
  // receives the cause of a failure.
  TiffResult Start(const std::filesystem::path& target, const RepackedPage& page, const FileHook& hook,
                   std::string* detail);
  // Rows in order, 0 first, each RowBytes(width) bytes.
  bool WriteRow(const uint8_t* row, uint32_t y);
  std::string RowFailure(uint32_t y) const;
  // Checks that every row came, runs the hook after the image and closes.
  TiffResult Finish(std::string* detail);

 private:
  base::FilePtr out_;
  std::optional<FileRemover> remover_;
  std::filesystem::path target_;
  FileHook hook_;
  size_t rowBytes_ = 0;
  uint32_t length_ = 0;
  uint32_t written_ = 0;
};

}  // namespace orvella::imaging
