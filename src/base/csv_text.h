#pragma once
// CSV fields and records as the logs hold them. A field is quoted only when it
// must be (it holds a comma, a double quote, CR or LF), so a line of plain
// fields reads exactly as it would unquoted; a quoted field may hold a line
// end, so records are not lines.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::base {

// The field as it goes into a record: as it is, or between double quotes with
// each inner double quote doubled.
std::string CsvField(std::string_view text);

using CsvRecord = std::vector<std::string>;

// The records of text. A record ends at a line feed outside quotes, a carriage
// return just before it dropped; an empty line is no record. Text that is not
// strictly CSV is read as it stands: a double quote inside an unquoted field is
// kept, and text after a field's closing quote joins the field.
std::vector<CsvRecord> SplitCsvRecords(std::string_view text);

// Follows text piece by piece to find record boundaries, so that a reader can
// start in the middle of a file at the first whole record.
class CsvBoundaryFinder {
 public:
  // Follows the next piece; the offset in it just past its first record end,
  // or npos when it ends none.
  std::size_t Feed(std::string_view piece);

  enum class State { kFieldStart, kUnquoted, kQuoted, kQuoteInQuoted };

 private:
  State state_ = State::kFieldStart;
};

}  // namespace orvella::base
