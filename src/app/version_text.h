#pragma once
// What orvella --version prints: the version, the commit it was built from
// and the libraries it runs with (Qt's comes from the application, never
// from the core).
#include <string>

namespace orvella::cli {

std::string VersionText();

}  // namespace orvella::cli
