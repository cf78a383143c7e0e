#include "fuzz_support.h"

#include <stdlib.h>
#include <tiffio.h>

#include <fstream>
#include <string>

namespace orvella::fuzz {
namespace {

constexpr double kMaxPixels = 1 << 24;

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvella-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Folder(), ec);
    });
    return std::filesystem::path(pattern);
  }();
  return folder;
}

}  // namespace

std::filesystem::path InputFile(const uint8_t* data, size_t size) {
  const auto path = Folder() / "input.tif";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

std::filesystem::path OutputFile(const char* name) { return Folder() / name; }

bool Manageable(const std::filesystem::path& input, double scale) {
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  TIFF* tif = TIFFOpen(input.c_str(), "rc");
  if (!tif) return true;  // refused at once anyway
  uint32_t width = 0, length = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &length);
  TIFFClose(tif);
  return static_cast<double>(width) * length * scale * scale <= kMaxPixels;
}

}  // namespace orvella::fuzz
