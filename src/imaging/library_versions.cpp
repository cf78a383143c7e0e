#include "imaging/library_versions.h"

#include <cairo.h>
#include <tiffio.h>

namespace orvella::imaging {

std::string TiffLibraryVersion() {
  // "LIBTIFF, Version 4.5.0\nCopyright ...": the number alone.
  std::string text = TIFFGetVersion();
  text = text.substr(0, text.find('\n'));
  const auto space = text.rfind(' ');
  return space == std::string::npos ? text : text.substr(space + 1);
}

std::string CairoLibraryVersion() { return cairo_version_string(); }

}  // namespace orvella::imaging
