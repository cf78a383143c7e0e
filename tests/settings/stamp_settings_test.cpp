#include "settings/stamp_settings.h"

#include <gtest/gtest.h>

#include "base/text_codec.h"
#include "settings/settings_error.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

StampSetting FullStamp() {
  StampSetting s;
  s.name = "承認印　A";
  s.corner = StampCorner::kLowerRight;
  s.xOffset = 1000;
  s.yOffset = 7;
  s.type = StampType::kSimple;
  s.imagePath = "/srv/stamps/ロゴ.tif";
  s.font.height = -27;
  s.font.width = 3;
  s.font.escapement = -900;
  s.font.orientation = 900;
  s.font.weight = 700;
  s.font.italic = 1;
  s.font.underline = 1;
  s.font.strikeOut = 1;
  s.font.charSet = 128;
  s.font.outPrecision = 3;
  s.font.clipPrecision = 2;
  s.font.quality = 2;
  s.font.pitchAndFamily = 0x31;
  EXPECT_TRUE(s.font.SetFaceNameUtf8("ＭＳ 明朝"));
  s.font.faceName[30] = 'z';  // bytes after the name survive too
  s.pointSize = 100;
  s.dateType = StampDateType::kYyyyMmDdJ;
  s.borderType = StampBorder::kRoundedSquare;
  s.fourthRow = true;
  s.rulerLines = true;
  s.lineWidth = 100;
  s.rowTexts = {"設計部", "", "\"quoted\"", "4行目"};
  s.dateRow = 4;
  return s;
}

TEST(StampSettings, SaveAndLoadRoundTripEveryField) {
  TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "STAMP.INI");
  StampList stamps = {FullStamp(), NewStamp()};
  stamps[1].name = "二番";
  SaveStamps(file, stamps);
  EXPECT_EQ(LoadStamps(file), stamps);

  // Keys in their stated order, values quoted, text in CP932.
  const std::string text = base::Cp932ToUtf8(ReadFileBytes(file.Path()));
  const char* order[] = {"[GLOBAL]",
                         "NUM_STAMPS=\"2\"",
                         "[STAMP_0]",
                         "NAME=\"承認印　A\"",
                         "CORNER=\"LOWER_RIGHT\"",
                         "XPOS=\"1000\"",
                         "YPOS=\"7\"",
                         "TYPE=\"SIMPLE\"",
                         "IMAGE_PATH=",
                         "FONT=\"E5FFFFFF",
                         "FONT_POINT=\"100\"",
                         "DATE_TYPE=\"YYYYMMDD_J\"",
                         "SIMPLE_STAMP_TYPE=\"ROUNDED_SQUARE\"",
                         "ENABLE_ROW4=\"TRUE\"",
                         "DRAW_RULER_LINE=\"TRUE\"",
                         "RULER_LINE_WIDTH=\"100\"",
                         "ROW1_TEXT=\"設計部\"",
                         "ROW2_TEXT=\"\"",
                         "ROW3_TEXT",
                         "ROW4_TEXT",
                         "DATE_ROW=\"4\"",
                         "[STAMP_1]"};
  size_t at = 0;
  for (const char* piece : order) {
    const size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece << "\n" << text;
    at = found;
  }
}

TEST(StampSettings, MissingSectionsAndUnknownWordsReadAsDefaults) {
  TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "STAMP.INI");
  WriteFileBytes(file.Path(),
                 "[GLOBAL]\r\nNUM_STAMPS=\"2\"\r\n"
                 "[STAMP_0]\r\nNAME=\"a\"\r\nCORNER=\"upper_right\"\r\nTYPE=\"TEXT\"\r\n"
                 "FONT=\"00000000\"\r\nDATE_TYPE=\"YYYY/MM/DD\"\r\nSIMPLE_STAMP_TYPE=\"OVAL\"\r\n"
                 "ENABLE_ROW4=\"true\"\r\nDRAW_RULER_LINE=\"yes\"\r\n");
  const StampList stamps = LoadStamps(file);
  ASSERT_EQ(stamps.size(), 2u);
  StampSetting defaults;
  defaults.name = "新規スタンプ";
  defaults.dateType = StampDateType::kYyyyMmDdE;
  defaults.lineWidth = 1;
  EXPECT_EQ(stamps[1], defaults);
  StampSetting first = defaults;
  first.name = "a";
  first.fourthRow = true;
  EXPECT_EQ(stamps[0], first);
}

TEST(StampSettings, FontRecordOfAnotherSizeOrChecksumReadsAsZero) {
  TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "STAMP.INI");
  StampSetting s = NewStamp();
  SaveStamps(file, {s});
  const std::string good = ReadFileBytes(file.Path());
  const size_t font = good.find("FONT=\"") + 6;
  for (std::string bad :
       {good.substr(0, font) + "00" + good.substr(font),                                    // 61 bytes
        good.substr(0, font) + (good[font] == '0' ? "1" : "0") + good.substr(font + 1)}) {  // checksum
    WriteFileBytes(file.Path(), bad);
    EXPECT_EQ(LoadStamps(file).at(0).font, LogFont{});
  }
}

TEST(StampSettings, DateTypeOutOfRangeIsWrittenAsTheFullWesternDate) {
  TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "STAMP.INI");
  StampSetting s = NewStamp();
  s.dateType = static_cast<StampDateType>(9);
  SaveStamps(file, {s});
  EXPECT_NE(ReadFileBytes(file.Path()).find("DATE_TYPE=\"YYYYMMDD_E\""), std::string::npos);
}

TEST(StampSettings, MissingFileAndAbsurdCounts) {
  TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "STAMP.INI");
  EXPECT_TRUE(LoadStamps(file).empty());
  WriteFileBytes(file.Path(), "[GLOBAL]\nNUM_STAMPS=\"-3\"\n");
  EXPECT_TRUE(LoadStamps(file).empty());
  // A damaged count must not exhaust memory.
  WriteFileBytes(file.Path(), "[GLOBAL]\nNUM_STAMPS=\"2147483647\"\n");
  EXPECT_EQ(LoadStamps(file).size(), static_cast<size_t>(kMaxListRecords));
}

TEST(StampSettings, NewStampDescribesATenPointGothicFont) {
  const StampSetting s = NewStamp();
  EXPECT_EQ(s.name, "");
  EXPECT_EQ(s.type, StampType::kDate);
  EXPECT_EQ(s.dateType, StampDateType::kYyyyMmDdE);
  EXPECT_EQ(s.lineWidth, 1);
  EXPECT_EQ(s.pointSize, 10);
  EXPECT_EQ(s.dateRow, 0);
  EXPECT_FALSE(s.fourthRow);
  const auto b = s.font.ToBytes();
  std::string hex;
  for (uint8_t byte : b) {
    static const char* digits = "0123456789ABCDEF";
    hex += digits[byte >> 4];
    hex += digits[byte & 15];
  }
  EXPECT_EQ(hex,
            "F3FFFFFF"
            "00000000"
            "00000000"
            "00000000"
            "90010000"  // height -13, weight 400
            "00000080"
            "00000231"  // char set 128, quality 2, pitch 49
            "826C8272"
            "20826F83"
            "53835683"
            "62834E00"  // ＭＳ Ｐゴシック in CP932
            "00000000"
            "00000000"
            "00000000"
            "00000000");
  EXPECT_EQ(LogFont::FromBytes(b), s.font);
  EXPECT_EQ(s.font.FaceNameUtf8(), "ＭＳ Ｐゴシック");
}

TEST(StampSettings, FaceNameMustFitTheRecord) {
  LogFont f;
  EXPECT_TRUE(f.SetFaceNameUtf8(std::string(31, 'a')));
  EXPECT_FALSE(f.SetFaceNameUtf8(std::string(32, 'b')));
  EXPECT_FALSE(f.SetFaceNameUtf8("한국어"));  // not in CP932
  EXPECT_EQ(f.FaceNameUtf8(), std::string(31, 'a'));
}

TEST(StampSettings, FindStampMatchesExactly) {
  StampList stamps = {NewStamp(), NewStamp(), NewStamp()};
  stamps[0].name = "Draft";
  stamps[1].name = "draft";
  stamps[2].name = "draft";
  stamps[2].xOffset = 5;
  EXPECT_EQ(FindStamp(stamps, "draft"), &stamps[1]);
  EXPECT_EQ(FindStamp(stamps, "Draft"), &stamps[0]);
  EXPECT_EQ(FindStamp(stamps, "draft "), nullptr);
}

TEST(StampSettings, FailedSaveKeepsThePreviousFile) {
  TempDir dir;
  const IniFile file = IniFile::AtPath(dir / "STAMP.INI");
  SaveStamps(file, {NewStamp()});
  const std::string before = ReadFileBytes(file.Path());
  StampSetting bad = NewStamp();
  bad.rowTexts[2] = "한국어";
  try {
    SaveStamps(file, {bad});
    FAIL() << "saved text CP932 cannot hold";
  } catch (const SettingsError& e) {
    EXPECT_NE(std::string(e.what()).find("[section]STAMP_0[key]ROW3_TEXT"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFileBytes(file.Path()), before);
}

}  // namespace
}  // namespace orvella::settings
