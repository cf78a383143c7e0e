#pragma once
// The versions of the network libraries this process runs with, for --version.
#include <string>

namespace orvella::printer {

std::string CurlLibraryVersion();
std::string SnmpLibraryVersion();

}  // namespace orvella::printer
