#pragma once
// The list scheme: a count in section "GLOBAL" (or a list's own section) and
// one section or key per entry, numbered from 0.
#include <string>
#include <string_view>

#include "settings/ini_file.h"

namespace orvella::settings {

// No list the program keeps comes near this; a hand-edited count beyond it
// would otherwise make the loader build millions of default entries.
inline constexpr int kMaxListEntries = 10000;

// The count under key, default 0; below 1 gives 0, above kMaxListEntries
// gives kMaxListEntries.
int ReadListCount(const IniReader& ini, std::string_view section, std::string_view key);

// "PRINTER_" and 3 give "PRINTER_3".
inline std::string ListName(std::string_view prefix, int index) {
  return std::string(prefix) + std::to_string(index);
}

}  // namespace orvella::settings
