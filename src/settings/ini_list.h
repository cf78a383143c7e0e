#pragma once
// Names of list entries: sections "PRINTER_0", "FOLD_3", keys "FOLDTYPE_2".
#include <string>
#include <string_view>

namespace orvella::settings {

inline std::string ListName(std::string_view prefix, int index) {
  return std::string(prefix) + std::to_string(index);
}

}  // namespace orvella::settings
