#include "app/version_text.h"

#include <QtGlobal>

#include "imaging/library_versions.h"
#include "orvella_version.h"
#include "printer/library_versions.h"

namespace orvella::cli {

std::string VersionText() {
  return "orvella " ORVELLA_VERSION " (build " ORVELLA_BUILD_ID ")\n"
         "commit " ORVELLA_COMMIT "\n"
         "libtiff " +
         imaging::TiffLibraryVersion() + "\nlibcurl " + printer::CurlLibraryVersion() + "\nnet-snmp " +
         printer::SnmpLibraryVersion() + "\ncairo " + imaging::CairoLibraryVersion() + "\nQt " + qVersion() +
         "\n";
}

}  // namespace orvella::cli
