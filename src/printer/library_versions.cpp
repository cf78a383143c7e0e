#include "printer/library_versions.h"

#include <curl/curl.h>
// net-snmp's headers need its config first.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/version.h>

namespace orvella::printer {

std::string CurlLibraryVersion() { return curl_version_info(CURLVERSION_NOW)->version; }

std::string SnmpLibraryVersion() { return netsnmp_get_version(); }

}  // namespace orvella::printer
