#pragma once
// An open libtiff file; inside the imaging layer only (other layers use the
// tiff_*.h operations, which need no libtiff headers). libtiff's warnings and
// errors are kept with the handle instead of going to stderr (the operations
// run on worker threads and report result codes; the last complaint goes into
// their failure details), and a row read that drew a complaint counts as
// failed: a corrupt or cut-off Group 4 strip decodes "successfully" with
// warnings only.
#include <tiffio.h>

#include <cstdarg>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/unique_fd.h"

namespace orvella::imaging {

// A page held whole in memory may not exceed this many bytes.
inline constexpr uint64_t kMaxRasterBytes = uint64_t{1} << 32;
// No row is wider than this (about 700 m at 600 dpi), which bounds every row
// buffer whatever a file's header claims.
inline constexpr uint32_t kMaxRowPixels = uint32_t{1} << 24;
// A page written row by row is bounded as one held whole: a bogus resolution
// must not make a step write terabytes.
inline bool WithinPageBytes(double width, double length) {
  return width <= kMaxRowPixels && (width + 7) / 8 * length <= static_cast<double>(kMaxRasterBytes);
}

class TiffFile {
 public:
  TiffFile(const std::filesystem::path& path, const char* mode);
  // Takes over fd: it is closed with the handle, or at once when opening fails.
  TiffFile(base::UniqueFd fd, const std::filesystem::path& name, const char* mode);
  ~TiffFile();
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  explicit operator bool() const { return tiff_ != nullptr; }
  TIFF* get() const { return tiff_; }

  // Moves to page index; false when there is no such page.
  bool SetPage(int page);
  // TIFFReadScanline / TIFFWriteScanline that also fail on any complaint.
  bool ReadRow(uint8_t* buffer, uint32_t row);
  bool WriteRow(uint8_t* buffer, uint32_t row);
  // Flushes and closes; false when libtiff could not write everything.
  bool Close();

  // For failure details: "page 2 of <path>" (counted from 1, as people count
  // pages) once a page was set, else the path.
  std::string Where() const;
  // what, followed by libtiff's last complaint when it made one.
  std::string Explain(const std::string& what) const;
  // Why the file could not be opened: missing, a folder, or libtiff's words.
  std::string OpenFailure() const;
  // After SetPage failed: the pages the file has against the one asked for.
  std::string MissingPage() const;
  // A row that could not be read (or written), and a Close that failed.
  std::string RowFailure(uint32_t row) const;
  std::string CloseFailure() const;

 private:
  static int OnMessage(TIFF*, void* self, const char* module, const char* format, va_list args);
  TIFFOpenOptions* Options();

  TIFF* tiff_ = nullptr;
  std::filesystem::path path_;
  bool writing_ = false;
  int page_ = -1;
  int complaints_ = 0;
  std::string lastComplaint_;
};

// Bytes of a packed row of the given width.
inline size_t RowBytes(uint32_t width) { return (static_cast<size_t>(width) + 7) / 8; }

}  // namespace orvella::imaging
