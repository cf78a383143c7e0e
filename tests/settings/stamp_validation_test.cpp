#include "settings/stamp_validation.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

StampForm GoodForm(StampType type) {
  StampForm f;
  f.name = "New";
  f.xOffset = "10";
  f.yOffset = "20";
  f.type = type;
  f.font = NewStamp().font;
  f.pointSize = 10;
  f.rulerLines = true;
  f.lineWidth = "0.5";
  return f;
}

TEST(StampValidation, ChecksInOrderWithTheirMessagesAndFields) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "logo.tif", "x");
  StampList stamps = {NewStamp(), NewStamp()};
  stamps[0].name = "Existing";
  stamps[1].name = "Mine";

  struct Case {
    const char* label;
    StampType type;
    void (*change)(StampForm&);
    std::optional<size_t> editing;
    const char* message;  // nullptr: accepted
    StampField field;
  };
  const Case cases[] = {
      {"valid date", StampType::kDate, [](StampForm&) {}, std::nullopt, nullptr, {}},
      {"name of 51 bytes, some double-byte", StampType::kDate,
       [](StampForm& f) { f.name = std::string(25, 'a') + "あいうえおかきくけこあいう"; }, std::nullopt,
       "スタンプ設定名称は半角 50 文字以内で設定してください。", StampField::kName},
      {"name of 25 double-byte characters",
       StampType::kDate,
       [](StampForm& f) { f.name = "あいうえおかきくけこあいうえおかきくけこあいうえお"; },
       std::nullopt,
       nullptr,
       {}},
      {"name of 51 bytes", StampType::kDate, [](StampForm& f) { f.name = std::string(51, 'a'); },
       std::nullopt, "スタンプ設定名称は半角 50 文字以内で設定してください。", StampField::kName},
      {"blank name beats bad offsets", StampType::kDate,
       [](StampForm& f) {
         f.name = " 　 ";
         f.xOffset = "x";
       },
       std::nullopt, "スタンプ設定名称を入力してください。", StampField::kName},
      {"name CP932 lacks", StampType::kDate, [](StampForm& f) { f.name = "한"; }, std::nullopt,
       "スタンプ設定名称に使用できない文字が含まれています。", StampField::kName},
      {"new stamp with a taken name", StampType::kDate, [](StampForm& f) { f.name = "　Mine "; },
       std::nullopt, "入力されたスタンプ設定名称は既に登録されています。", StampField::kName},
      {"renamed to its own name", StampType::kDate, [](StampForm& f) { f.name = "Mine"; }, 1, nullptr, {}},
      {"renamed to another's name", StampType::kDate, [](StampForm& f) { f.name = "Existing"; }, 1,
       "入力されたスタンプ設定名称は既に登録されています。", StampField::kName},
      {"offsets 1000 and 0",
       StampType::kDate,
       [](StampForm& f) {
         f.xOffset = "1000";
         f.yOffset = "0";
       },
       std::nullopt,
       nullptr,
       {}},
      {"x offset 1001", StampType::kDate, [](StampForm& f) { f.xOffset = "1001"; }, std::nullopt,
       "スタンプ配置の横の値は0～1000で指定してください。", StampField::kXOffset},
      {"x offset -1", StampType::kDate, [](StampForm& f) { f.xOffset = "-1"; }, std::nullopt,
       "スタンプ配置の横の値は0～1000で指定してください。", StampField::kXOffset},
      {"x offset 00010", StampType::kDate, [](StampForm& f) { f.xOffset = "00010"; }, std::nullopt,
       "スタンプ配置の横の値は0～1000で指定してください。", StampField::kXOffset},
      {"y offset empty", StampType::kDate, [](StampForm& f) { f.yOffset = ""; }, std::nullopt,
       "スタンプ配置の縦の値は0～1000で指定してください。", StampField::kYOffset},
      {"y offset 1e2", StampType::kDate, [](StampForm& f) { f.yOffset = "1e2"; }, std::nullopt,
       "スタンプ配置の縦の値は0～1000で指定してください。", StampField::kYOffset},
      {"date without font", StampType::kDate, [](StampForm& f) { f.font = LogFont{}; }, std::nullopt,
       "フォントを選択してください。", StampField::kFont},
      {"date at 101 points", StampType::kDate, [](StampForm& f) { f.pointSize = 101; }, std::nullopt,
       "フォントのサイズを1から100ポイントまでで指定してください。", StampField::kFont},
      {"date ignores the line width",
       StampType::kDate,
       [](StampForm& f) { f.lineWidth = "0"; },
       std::nullopt,
       nullptr,
       {}},
      {"image without font",
       StampType::kImage,
       [](StampForm& f) {
         f.font = LogFont{};
         f.imagePath = "LOGO";
       },
       std::nullopt,
       nullptr,
       {}},
      {"image path empty", StampType::kImage, [](StampForm&) {}, std::nullopt,
       "画像ファイルを選択してください。", StampField::kImagePath},
      {"image path of 261 bytes", StampType::kImage,
       [](StampForm& f) { f.imagePath = "/" + std::string(260, 'p'); }, std::nullopt,
       "画像パスは半角 260 文字以内で設定してください。", StampField::kImagePath},
      {"image file missing", StampType::kImage, [](StampForm& f) { f.imagePath = "/no/such/logo.tif"; },
       std::nullopt, "画像ファイルが見つかりません。ファイル名を確認してください。", StampField::kImagePath},
      {"simple at 0 points", StampType::kSimple, [](StampForm& f) { f.pointSize = 0; }, std::nullopt,
       "フォントのサイズを1から100ポイントまでで指定してください。", StampField::kFont},
      {"simple line width 10.0",
       StampType::kSimple,
       [](StampForm& f) { f.lineWidth = "10.0"; },
       std::nullopt,
       nullptr,
       {}},
      {"simple line width 0.05", StampType::kSimple, [](StampForm& f) { f.lineWidth = "0.05"; }, std::nullopt,
       "境界線の線幅の値は0.1～10.0で指定してください。", StampField::kLineWidth},
      {"simple line width 10.01", StampType::kSimple, [](StampForm& f) { f.lineWidth = "10.01"; },
       std::nullopt, "境界線の線幅の値は0.1～10.0で指定してください。", StampField::kLineWidth},
      {"simple line width 10.1", StampType::kSimple, [](StampForm& f) { f.lineWidth = "10.1"; }, std::nullopt,
       "境界線の線幅の値は0.1～10.0で指定してください。", StampField::kLineWidth},
      {"line width unchecked without ruler lines",
       StampType::kSimple,
       [](StampForm& f) {
         f.rulerLines = false;
         f.lineWidth = "abc";
       },
       std::nullopt,
       nullptr,
       {}},
      {"row text CP932 lacks", StampType::kSimple, [](StampForm& f) { f.rowTexts[1] = "한"; }, std::nullopt,
       "２行目に使用できない文字が含まれています。", StampField::kRowText},
  };
  for (const auto& c : cases) {
    StampForm form = GoodForm(c.type);
    c.change(form);
    if (form.imagePath == "LOGO") form.imagePath = (dir / "logo.tif").string();
    const auto error = ValidateStampForm(form, stamps, c.editing);
    if (c.message == nullptr) {
      EXPECT_FALSE(error) << c.label << ": " << error->message;
    } else {
      ASSERT_TRUE(error) << c.label;
      EXPECT_EQ(error->message, c.message) << c.label;
      EXPECT_EQ(error->field, c.field) << c.label;
      EXPECT_EQ(error->row, c.field == StampField::kRowText ? 2 : -1) << c.label;
    }
  }
}

TEST(StampValidation, TakenValues) {
  EXPECT_EQ(ParseStampOffset("+12"), 12);
  EXPECT_EQ(ParseStampOffset("1000"), 1000);
  EXPECT_EQ(ParseStampLineWidth("0.1"), 1);
  EXPECT_EQ(ParseStampLineWidth("2.39"), 23);  // truncated, not rounded
  EXPECT_EQ(ParseStampLineWidth("7"), 70);
  EXPECT_EQ(ParseStampLineWidth(".5"), 5);
  EXPECT_EQ(ParseStampLineWidth("1."), 10);
  EXPECT_FALSE(ParseStampLineWidth("."));
  EXPECT_FALSE(ParseStampLineWidth("1.2."));
  EXPECT_FALSE(ParseStampLineWidth("1,5"));  // the decimal sign is always a point
}

}  // namespace
}  // namespace orvella::settings
