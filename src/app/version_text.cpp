#include "app/version_text.h"

#include <QtGlobal>

#include "imaging/library_versions.h"
#include "orvella_version.h"
#include "printer/library_versions.h"

namespace orvella::cli {

std::string VersionText() {
  std::string text = "orvella " ORVELLA_VERSION " (build " ORVELLA_BUILD_ID ")\n";
  text += "commit " ORVELLA_COMMIT "\n";
  text += "libtiff " + imaging::TiffLibraryVersion() + "\n";
  text += "libcurl " + printer::CurlLibraryVersion() + "\n";
  text += "net-snmp " + printer::SnmpLibraryVersion() + "\n";
  text += "cairo " + imaging::CairoLibraryVersion() + "\n";
  text += std::string("Qt ") + qVersion() + "\n";
  return text;
}

}  // namespace orvella::cli
