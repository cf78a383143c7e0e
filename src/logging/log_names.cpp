#include "logging/log_names.h"

#include <algorithm>

namespace orvella::logging {
namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsLogDate(std::string_view date) { return date.size() == 8 && AllDigits(date); }

bool IsDailyLogName(std::string_view name) {
  return name.size() == 12 && name.ends_with(".csv") && IsLogDate(name.substr(0, 8));
}

bool IsErrorFolderName(std::string_view name) {
  return name.size() > 16 && name[8] == '_' && name[15] == '_' && AllDigits(name.substr(0, 8)) &&
         AllDigits(name.substr(9, 6));
}

}  // namespace orvella::logging
