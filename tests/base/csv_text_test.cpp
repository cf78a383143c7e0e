#include "base/csv_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

// Records of fields made of the characters that matter, in every mix: each
// reads back as written, and the boundary finder, started anywhere, finds
// the end of the record it started in.
TEST(CsvText, AnyRecordsReadBackAndTheirEndsAreFoundFromAnywhere) {
  std::mt19937 random(1);
  const std::string alphabet[] = {"a", ",", "\"", "\r", "\n", "図"};
  for (int round = 0; round < 200; ++round) {
    Records records;
    std::string text;
    std::vector<std::size_t> ends;
    for (std::size_t r = 1 + random() % 4; r > 0; --r) {
      CsvRecord record;
      for (std::size_t f = 1 + random() % 4; f > 0; --f) {
        std::string field;
        for (std::size_t c = random() % 4; c > 0; --c) field += alphabet[random() % std::size(alphabet)];
        text += (record.empty() ? "" : ",") + CsvField(field);
        record.push_back(field);
      }
      if (record == CsvRecord{""}) {  // an empty line is no record
        record.push_back("a");
        text += ",a";
      }
      text += "\r\n";
      ends.push_back(text.size());
      records.push_back(record);
    }
    ASSERT_EQ(SplitCsvRecords(text), records) << text;
    const std::size_t start = random() % text.size();
    CsvBoundaryFinder finder;
    finder.Feed(std::string_view(text).substr(0, start));
    const std::size_t end = *std::upper_bound(ends.begin(), ends.end(), start);
    ASSERT_EQ(finder.Feed(std::string_view(text).substr(start)), end - start) << text << " from " << start;
  }
}

}  // namespace
}  // namespace orvella::base
