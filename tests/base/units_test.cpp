#include "base/units.h"

#include <gtest/gtest.h>

#include "base/text_codec.h"

namespace orvella::base {
namespace {

TEST(Units, Conversions) {
  EXPECT_EQ(MmToDots(841, 600), 19866);
  EXPECT_EQ(MmToDots(1189, 600), 28087);
  EXPECT_EQ(MmToDots(0.02, 600), 0);
  EXPECT_DOUBLE_EQ(DotsToMm(600, 600), 25.4);
  EXPECT_EQ(PointsToDots(10, 96), 13);
  EXPECT_EQ(PointsToDots(10, 600), 83);
}

TEST(TextCodec, NamesAndLengths) {
  EXPECT_EQ(TrimNameBlanks("　 名前 a　 "), "名前 a");
  EXPECT_EQ(TrimNameBlanks("　"), "");
  EXPECT_EQ(Cp932Length("ＡBC"), 4u);
  EXPECT_FALSE(Cp932Length("\xF0\x9F\x98\x80").has_value());
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0\xFF"), "あ\xEF\xBF\xBD");
  EXPECT_EQ(TruncateCp932("a\x82\xA0", 2), "a");
}

TEST(TextCodec, TellsUtf8FilesFromCp932Ones) {
  const std::pair<std::string, bool> cases[] = {
      {"[PRINTER_0]\r\nNAME=\"製図室\"\r\n", true},  // this source is UTF-8
      {*Utf8ToCp932("[PRINTER_0]\r\nNAME=\"製図室\"\r\n"), false},
      {*Utf8ToCp932("ｱｲｳ 半角カナ"), false},
      {"[SETTING]\r\nMAX_MEM=\"7\"\r\n", false},  // plain ASCII reads the same either way
      {"\xE8\xA3\xBD", true},
      {"\xE8\xA3", false},  // cut short
      {"\xC0\x80", false},  // overlong
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(LooksLikeUtf8(bytes), utf8) << bytes;
}

}  // namespace
}  // namespace orvella::base
