#pragma once
// The printer layer's network libraries, set up once per test process as
// main() does. The SNMP library's persistent folder is a folder of its own
// that lives as long as the process.
#include <filesystem>

#include "printer/snmp_status.h"
#include "printer/transport_init.h"
#include "support/temp_dir.h"

namespace orvella::test {

inline const std::filesystem::path& InitNetworkLibraries() {
  static const TempDir persistentDir;
  printer::InitTransportLibraries();
  printer::InitSnmpLibrary(persistentDir.Path());
  return persistentDir.Path();
}

}  // namespace orvella::test
