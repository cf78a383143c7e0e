#pragma once
// The versions of the imaging libraries this process runs with, for --version.
#include <string>

namespace orvella::imaging {

std::string TiffLibraryVersion();
std::string CairoLibraryVersion();

}  // namespace orvella::imaging
