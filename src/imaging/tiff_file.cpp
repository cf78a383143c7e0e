#include "imaging/tiff_file.h"

#include <memory>
#include <mutex>

namespace orvella::imaging {
namespace {

// libtiff's own allocations (run arrays, strip buffers) are capped too, so a
// forged header cannot make it reserve gigabytes.
constexpr tmsize_t kMaxLibtiffAllocation = tmsize_t{256} << 20;

struct OptionsDeleter {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

void SilenceProcessWideHandlers() {
  // The few messages libtiff raises without a handle go to the process-wide
  // handlers, which print by default.
  static std::once_flag once;
  std::call_once(once, [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
  });
}

}  // namespace

int TiffFile::OnMessage(TIFF*, void* self, const char*, const char*, va_list) {
  ++static_cast<TiffFile*>(self)->complaints_;
  return 1;  // handled: the process-wide handlers stay silent
}

TIFFOpenOptions* TiffFile::Options() {
  SilenceProcessWideHandlers();
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, &TiffFile::OnMessage, this);
  TIFFOpenOptionsSetWarningHandlerExtR(options, &TiffFile::OnMessage, this);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibtiffAllocation);
  return options;
}

TiffFile::TiffFile(const std::filesystem::path& path, const char* mode) {
  std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(Options());
  if (options) tiff_ = TIFFOpenExt(path.c_str(), mode, options.get());
}

TiffFile::TiffFile(base::UniqueFd fd, const std::filesystem::path& name, const char* mode) {
  std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(Options());
  if (options) tiff_ = TIFFFdOpenExt(fd.Get(), name.c_str(), mode, options.get());
  if (tiff_) fd.Release();  // libtiff closes it with the handle
}

TiffFile::~TiffFile() {
  if (tiff_) TIFFClose(tiff_);
}

bool TiffFile::SetPage(int page) {
  return page >= 0 && TIFFSetDirectory(tiff_, static_cast<tdir_t>(page)) == 1;
}

bool TiffFile::ReadRow(uint8_t* buffer, uint32_t row) {
  const int before = complaints_;
  return TIFFReadScanline(tiff_, buffer, row, 0) == 1 && complaints_ == before;
}

bool TiffFile::WriteRow(uint8_t* buffer, uint32_t row) {
  const int before = complaints_;
  return TIFFWriteScanline(tiff_, buffer, row, 0) == 1 && complaints_ == before;
}

bool TiffFile::Close() {
  if (!tiff_) return false;
  const int before = complaints_;
  const bool flushed = TIFFFlush(tiff_) == 1;
  TIFFClose(tiff_);
  tiff_ = nullptr;
  return flushed && complaints_ == before;
}

}  // namespace orvella::imaging
