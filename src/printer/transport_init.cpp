#include "printer/transport_init.h"

#include <curl/curl.h>

#include <mutex>

namespace orvella::printer {

void InitTransportLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace orvella::printer
