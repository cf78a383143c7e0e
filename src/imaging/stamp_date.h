#pragma once
// The date printed by date stamps and date rows.
#include <string>

namespace orvella::imaging {

struct StampDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// Today in local time: the clock stamps use unless the caller gives a date.
StampDate LocalToday();

// The date in the format of a stamp's date type (0 "04/10/01", 1
// "2004/10/01", 2 "04年10月01日", 3 "2004年10月01日"); empty for any other type.
std::string FormatStampDate(int dateType, const StampDate& date);

}  // namespace orvella::imaging
