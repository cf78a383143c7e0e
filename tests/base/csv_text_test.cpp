#include "base/csv_text.h"

#include <gtest/gtest.h>

namespace orvella::base {
namespace {

using Records = std::vector<CsvRecord>;

TEST(CsvText, AFieldIsQuotedOnlyWhenItMustBe) {
  const std::pair<std::string, std::string> cases[] = {
      {"plan.tif", "plan.tif"},
      {"", ""},
      {"図面 A1.tif", "図面 A1.tif"},
      {"13,15.tif", "\"13,15.tif\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"a\rb", "\"a\rb\""},
      {"a\nb", "\"a\nb\""},
  };
  for (const auto& [text, field] : cases) {
    EXPECT_EQ(CsvField(text), field) << text;
    // What is written reads back as it was, line ends and all.
    EXPECT_EQ(SplitCsvRecords("x," + field + ",y\r\n"), (Records{{"x", text, "y"}})) << text;
  }
}

TEST(CsvText, RecordsEndAtLineEndsOutsideQuotes) {
  const std::pair<std::string, Records> cases[] = {
      {"a,b\r\nc\r\n", {{"a", "b"}, {"c"}}},
      {"a,b\nc", {{"a", "b"}, {"c"}}},  // LF alone, and an unended last record
      {"\r\n\r\na\r\n\r\n", {{"a"}}},   // empty lines are no records
      {"a,\"1\r\n2,3\"\r\nb\r\n", {{"a", "1\r\n2,3"}, {"b"}}},
      {"\"ends in CR\r\"\r\n", {{"ends in CR\r"}}},
      {"a,,\r\n", {{"a", "", ""}}},
      // Not strictly CSV, read as it stands: an older line with a quote in a name.
      {"a,b\"c,d\r\n", {{"a", "b\"c", "d"}}},
      {"\"q\"x,y\r\n", {{"qx", "y"}}},
  };
  for (const auto& [text, records] : cases) EXPECT_EQ(SplitCsvRecords(text), records) << text;
}

TEST(CsvText, TheBoundaryFinderFollowsQuotesAcrossPieces) {
  CsvBoundaryFinder finder;
  EXPECT_EQ(finder.Feed("2026/12/10,\"a"), std::string_view::npos);
  EXPECT_EQ(finder.Feed("\r\n2026/12/10,x\r\n"), std::string_view::npos);  // inside the quoted name
  EXPECT_EQ(finder.Feed("b\",OK\r\nnext\r\n"), 7u);
  EXPECT_EQ(finder.Feed("next\r\n"), 6u);
}

}  // namespace
}  // namespace orvella::base
