#include "imaging/stamp_date.h"

#include <cstdio>
#include <ctime>

namespace orvella::imaging {

StampDate LocalToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatStampDate(int dateType, const StampDate& date) {
  static constexpr const char* kFormats[] = {"%02d/%02d/%02d", "%04d/%02d/%02d", "%02d年%02d月%02d日",
                                             "%04d年%02d月%02d日"};
  if (dateType < 0 || dateType > 3) return {};
  const int year = dateType % 2 == 0 ? date.year % 100 : date.year;
  char text[64];
  std::snprintf(text, sizeof text, kFormats[dateType], year, date.month, date.day);
  return text;
}

}  // namespace orvella::imaging
