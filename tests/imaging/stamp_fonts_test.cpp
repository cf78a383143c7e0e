#include "imaging/stamp_fonts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "imaging/stamp_date.h"

namespace orvella::imaging {
namespace {

TEST(StampFonts, WindowsJapaneseFacesAndUnknownFacesResolveToIpaFonts) {
  const std::pair<const char*, const char*> cases[] = {
      {"ＭＳ Ｐゴシック", "IPAPGothic"},  {"MS PGothic", "IPAPGothic"}, {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},      {"ＭＳ 明朝", "IPAMincho"},   {"", "IPAPGothic"},
      {"No Such Face 123", "IPAPGothic"},
  };
  for (const auto& [face, family] : cases) {
    EXPECT_EQ(MatchedFamily({.face = face}), family) << face;
    EXPECT_EQ(MatchedFamily({.face = face, .weight = 700, .italic = true, .japanese = true}), family) << face;
  }
}

TEST(StampFonts, MeasureTextGivesTheFontsLineHeightAndTheAdvance) {
  const FontRequest font{.face = "ＭＳ Ｐゴシック"};
  const TextSizeMm empty = MeasureText("", font, 10, 600);
  const TextSizeMm one = MeasureText("あ", font, 10, 600);
  const TextSizeMm two = MeasureText("ああ", font, 10, 600);
  EXPECT_EQ(empty.width, 0);
  EXPECT_GT(empty.height, 0);
  EXPECT_EQ(one.height, empty.height);
  // The line height is the font's, a little above the 10-point em (3.53 mm).
  EXPECT_GT(one.height, 3.5);
  EXPECT_LT(one.height, 4.5);
  // Widths are whole pixels: the second character adds exactly one advance.
  StampFont px(font, 83);
  EXPECT_NEAR(two.width - one.width, px.AdvanceWidth("あ") * 25.4 / 600, 1e-9);
  // Measured sizes are whole pixels at the given resolution.
  const double pixels = one.width * 600 / 25.4;
  EXPECT_NEAR(pixels, std::round(pixels), 1e-9);
  EXPECT_EQ(MeasureText("a", font, 10, 0).height, 0);
}

TEST(StampDates, FormatsOfTheFourDateTypes) {
  const StampDate date{2004, 10, 1};
  EXPECT_EQ(FormatStampDate(0, date), "04/10/01");
  EXPECT_EQ(FormatStampDate(1, date), "2004/10/01");
  EXPECT_EQ(FormatStampDate(2, date), "04年10月01日");
  EXPECT_EQ(FormatStampDate(3, date), "2004年10月01日");
  EXPECT_EQ(FormatStampDate(4, date), "");
  EXPECT_EQ(FormatStampDate(-1, date), "");
  EXPECT_EQ(FormatStampDate(0, {2100, 1, 31}), "00/01/31");
}

}  // namespace
}  // namespace orvella::imaging
