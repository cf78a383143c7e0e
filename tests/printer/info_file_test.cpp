#include "printer/info_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::printer {

void PrintTo(const TrayInformation& r, std::ostream* os) {
  *os << "{" << r.number << ", '" << r.name << "', '" << r.pageSize << "', '" << r.status << "'}";
}

namespace {

class ParseInformationFileTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& content) {
    test::WriteFileBytes(dir / "temp.info", content);
    records = {TrayInformation{9, "stale", "", ""}};
    return ParseInformationFile(dir / "temp.info", records);
  }

  test::TempDir dir;
  std::vector<TrayInformation> records;
};

TEST_F(ParseInformationFileTest, CutsRowsAtTheHeaderPositions) {
  ASSERT_TRUE(
      Parse("Tray Information\r\n"
            "No.  Name                Page Size  Status\r\n"
            "---  ------------------  ---------  ------\r\n"
            "1    Tray 1              A4         Ready\r\n"
            "3    Tray 3 (Thick)      A4R        Low\r\n"
            "x    Bypass Tray\r\n"
            "\r\n"
            "7    Tray 7              A3         after the empty line\r\n"));
  EXPECT_EQ(records, (std::vector<TrayInformation>{{1, "Tray 1", "A4", "Ready"},
                                                   {3, "Tray 3 (Thick)", "A4R", "Low"},
                                                   {0, "Bypass Tray", "", ""}}));
}

TEST_F(ParseInformationFileTest, RefusesWhatIsNoInformationFile) {
  EXPECT_TRUE(Parse("t\nName Page Size Status\n--\n\nnot a row\n"));
  EXPECT_TRUE(records.empty());

  EXPECT_FALSE(Parse("t\nName Status Page Size\n--\n1 Tray 1 A4 Ready\n\n"));  // Status before Page Size
  EXPECT_TRUE(records.empty());
  EXPECT_FALSE(Parse("t\nName Page Size\n--\n1 Tray 1 A4\n\n"));
  EXPECT_FALSE(Parse("t\nName Page Size Status\n--\n1 Tray 1 A4 Ready\n"));  // four lines
  EXPECT_FALSE(Parse("t\n" + std::string(9000, 'N') + "\n--\n\n\n"));
  EXPECT_FALSE(ParseInformationFile(dir / "missing", records));
}

TEST(InformationRows, PaperCodesTrayIndexesAndBrackets) {
  const std::pair<const char*, int> codes[] = {{"A2R", 1}, {"A3", 2},  {"A3R", 3}, {"A4", 4},    {"A4R", 5},
                                               {"B4", 6},  {"B4R", 7}, {"B5", 8},  {"B5R", 9},   {"A2", 0},
                                               {"a4", 0},  {"A4 ", 0}, {"", 0},    {"Letter", 0}};
  for (const auto& [text, code] : codes) EXPECT_EQ(A2PaperCode(text), code) << text;

  EXPECT_EQ(TrayIndex("Tray 3 (Thick)"), 3);
  EXPECT_EQ(TrayIndex("Tray 12"), 1);
  EXPECT_EQ(TrayIndex("Tray A"), 0);
  EXPECT_EQ(TrayIndex("Tray "), 0);
  EXPECT_EQ(TrayIndex("Bypass Tray"), -1);
  EXPECT_EQ(TrayIndex("tray 3"), -1);

  EXPECT_TRUE(HoldsSpecialPaper("Tray 3 (Thick)"));
  EXPECT_TRUE(HoldsSpecialPaper("Tray 2 )"));
  EXPECT_FALSE(HoldsSpecialPaper("Tray 1"));
}

}  // namespace
}  // namespace orvella::printer
