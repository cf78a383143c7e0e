#pragma once
// Shared by the job log and error record tests: local times and CP932 lines.
#include <ctime>
#include <string>

#include "base/text_codec.h"

namespace orvella::test {

inline std::time_t Local(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

// A line as the log holds it: CP932 with CR LF.
inline std::string Cp932(const std::string& utf8) { return *base::Utf8ToCp932(utf8) + "\r\n"; }

}  // namespace orvella::test
