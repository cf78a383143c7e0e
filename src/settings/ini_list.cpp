#include "settings/ini_list.h"

#include <algorithm>

namespace orvella::settings {

int ReadListCount(const IniReader& ini, std::string_view section, std::string_view key) {
  return std::clamp(ini.ReadInt(section, key, 0), 0, kMaxListEntries);
}

}  // namespace orvella::settings
