#include "imaging/tiff_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "imaging/tiff_detail.h"

namespace orvella::imaging {
namespace {

// libtiff's own allocations (run arrays, strip buffers) are capped too, so a
// forged header cannot make it reserve gigabytes.
constexpr tmsize_t kMaxLibtiffAllocation = tmsize_t{256} << 20;

struct OptionsDeleter {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// Files are read, never mapped: a drawing rewritten in place while a job
// reads it (a copy over a printing file) would turn a mapped read past its
// new end into SIGBUS and end the whole service. A read sees the short file
// and fails its row instead.
std::string WithoutMapping(const char* mode) {
  std::string flags = mode;
  if (flags.find('r') != std::string::npos && flags.find('m') == std::string::npos) flags += 'm';
  return flags;
}

}  // namespace

int TiffFile::OnMessage(TIFF*, void* self, const char* module, const char* format, va_list args) {
  auto& file = *static_cast<TiffFile*>(self);
  ++file.complaints_;
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  file.lastComplaint_ = module && *module ? std::string(module) + ": " + text : text;
  return 1;  // handled: the process-wide handlers stay silent
}

TIFFOpenOptions* TiffFile::Options() {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, &TiffFile::OnMessage, this);
  TIFFOpenOptionsSetWarningHandlerExtR(options, &TiffFile::OnMessage, this);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibtiffAllocation);
  return options;
}

TiffFile::TiffFile(const std::filesystem::path& path, const char* mode)
    : path_(path), writing_(std::strpbrk(mode, "wa") != nullptr) {
  std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(Options());
  if (options) tiff_ = TIFFOpenExt(path.c_str(), WithoutMapping(mode).c_str(), options.get());
}

TiffFile::TiffFile(base::UniqueFd fd, const std::filesystem::path& name, const char* mode)
    : path_(name), writing_(std::strpbrk(mode, "wa") != nullptr) {
  std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(Options());
  if (options) tiff_ = TIFFFdOpenExt(fd.Get(), name.c_str(), WithoutMapping(mode).c_str(), options.get());
  if (tiff_) fd.Release();  // libtiff closes it with the handle
}

TiffFile::~TiffFile() {
  if (tiff_) TIFFClose(tiff_);
}

bool TiffFile::SetPage(int page) {
  page_ = page;
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

std::string TiffFile::Where() const { return page_ < 0 ? path_.string() : PageName(path_, page_); }

std::string TiffFile::Explain(const std::string& what) const {
  return lastComplaint_.empty() ? what : what + " (libtiff: " + lastComplaint_ + ")";
}

std::string TiffFile::OpenFailure() const {
  const std::string name = path_.string();
  std::error_code ec;
  const auto status = std::filesystem::status(path_, ec);
  if (!writing_ && !std::filesystem::exists(status)) return name + " does not exist";
  if (std::filesystem::is_directory(status)) return name + " is a folder, not a TIFF file";
  return Explain(writing_ ? "cannot create " + name : "cannot open " + name + " as a TIFF file");
}

std::string TiffFile::MissingPage() const {
  const auto pages = static_cast<unsigned long>(TIFFNumberOfDirectories(tiff_));
  return Explain(path_.string() + " has " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
                 "; there is no page " + std::to_string(static_cast<long long>(page_) + 1));
}

std::string TiffFile::RowFailure(uint32_t row) const {
  const std::string number = "row " + std::to_string(static_cast<unsigned long long>(row) + 1);
  return Explain(writing_ ? number + " cannot be written to " + Where()
                          : number + " of " + Where() + " cannot be read");
}

std::string TiffFile::CloseFailure() const { return Explain(Where() + " cannot be completed"); }

}  // namespace orvella::imaging
