#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "dialog_fixture.h"
#include "dialogs/stamp_edit_dialog.h"
#include "dialogs/stamp_list_dialog.h"
#include "dialogs/stamp_preview_dialog.h"
#include "settings/input_settings.h"
#include "settings/stamp_settings.h"

namespace orvella::dialogs::test {
namespace {

using settings::StampSetting;

class StampDialogsTest : public ::testing::Test {
 protected:
  orvella::test::SettingsHome home;
  RecordingMessages messages;
};

QLineEdit* UpDownText(const QWidget& dialog, const char* name) {
  return dialog.findChild<QWidget*>(name)->findChild<QLineEdit*>();
}

TEST_F(StampDialogsTest, FailedCheckShowsItsMessageAndFocusesItsField) {
  StampSetting taken = settings::NewStamp();
  taken.name = "taken";
  const settings::StampList stamps{taken};
  struct Case {
    std::function<void(StampEditDialog&)> fill;
    std::string message;
    const char* field;
  };
  const auto named = [](StampEditDialog& d) { SetText(d, "name", "stamp"); };
  const Case cases[] = {
      {[](StampEditDialog&) {}, "スタンプ設定名称を入力してください。", "name"},
      {[](StampEditDialog& d) { SetText(d, "name", " taken "); },
       "入力されたスタンプ設定名称は既に登録されています。", "name"},
      {[&](StampEditDialog& d) {
         named(d);
         UpDownText(d, "xOffset")->setText("1001");
       },
       "スタンプ配置の横の値は0～1000で指定してください。", "xOffset"},
      {[&](StampEditDialog& d) {
         named(d);
         UpDownText(d, "yOffset")->setText("-1");
       },
       "スタンプ配置の縦の値は0～1000で指定してください。", "yOffset"},
      {[&](StampEditDialog& d) {
         named(d);
         Child<QRadioButton>(d, "type1")->setChecked(true);
       },
       "画像ファイルを選択してください。", "imagePath"},
      {[&](StampEditDialog& d) {
         named(d);
         Child<QRadioButton>(d, "type2")->setChecked(true);
         Child<QCheckBox>(d, "rulerLines")->setChecked(true);
         UpDownText(d, "lineWidth")->setText("0.05");
       },
       "境界線の線幅の値は0.1～10.0で指定してください。", "lineWidth"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    messages.warnings.clear();
    StampEditDialog dialog(nullptr, home.Path(), messages, settings::NewStamp(), stamps, std::nullopt);
    ShowActive(dialog);
    c.fill(dialog);
    dialog.accept();
    ExpectFieldFailure(dialog, messages, c.message, c.field);
  }
}

TEST_F(StampDialogsTest, SimplePageRulesAndTheValuesTaken) {
  const settings::StampList stamps;
  StampEditDialog dialog(nullptr, home.Path(), messages, settings::NewStamp(), stamps, std::nullopt);
  ShowActive(dialog);
  SetText(dialog, "name", "\u3000approved ");
  Child<QRadioButton>(dialog, "type2")->setChecked(true);
  Child<QRadioButton>(dialog, "corner3")->setChecked(true);
  auto* fourthRow = Child<QCheckBox>(dialog, "fourthRow");
  auto* dateRow = Child<QComboBox>(dialog, "dateRow");
  auto* simpleFormat = Child<QComboBox>(dialog, "simpleFormat");
  EXPECT_EQ(dateRow->count(), 4);
  EXPECT_FALSE(simpleFormat->isEnabled());
  fourthRow->setChecked(true);
  SetText(dialog, "row4", "four");
  dateRow->setCurrentIndex(4);
  EXPECT_TRUE(simpleFormat->isEnabled());
  fourthRow->setChecked(false);
  EXPECT_EQ(dateRow->currentIndex(), 0);
  EXPECT_EQ(dateRow->count(), 4);
  EXPECT_TRUE(Child<QLineEdit>(dialog, "row4")->text().isEmpty());
  EXPECT_FALSE(Child<QLineEdit>(dialog, "row4")->isEnabled());
  dateRow->setCurrentIndex(2);

  // The date format and the font are one value shown on two pages.
  simpleFormat->setCurrentIndex(3);
  EXPECT_EQ(Child<QComboBox>(dialog, "dateFormat")->currentIndex(), 3);
  dialog.ApplyFont(QFont("DejaVu Sans", 12));
  EXPECT_EQ(Child<QLineEdit>(dialog, "dateFont")->text(), "DejaVu Sans 12ポイント");
  EXPECT_EQ(Child<QLineEdit>(dialog, "simpleFont")->text(), "DejaVu Sans 12ポイント");

  auto* border = Child<QPushButton>(dialog, "border");
  for (int i = 0; i < 6; ++i) border->click();  // none → … → circle → none → square → rounded
  Child<QCheckBox>(dialog, "rulerLines")->setChecked(true);
  QLineEdit* width = UpDownText(dialog, "lineWidth");
  EXPECT_EQ(width->text(), "0.1");
  dialog.findChild<QWidget*>("lineWidth")->findChildren<QToolButton*>()[0]->click();
  EXPECT_EQ(width->text(), "0.2");
  SetText(dialog, "row1", "OK");
  Screenshot(dialog, "stamp_edit_simple");

  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << (messages.warnings.empty() ? "" : messages.warnings[0]);
  const StampSetting& s = dialog.Result();
  EXPECT_EQ(s.name, "approved");
  EXPECT_EQ(s.corner, settings::StampCorner::kLowerRight);
  EXPECT_EQ(s.type, settings::StampType::kSimple);
  EXPECT_EQ(s.font.FaceNameUtf8(), "DejaVu Sans");
  EXPECT_EQ(s.pointSize, 12);
  EXPECT_EQ(s.dateType, settings::StampDateType::kYyyyMmDdJ);
  EXPECT_EQ(s.borderType, settings::StampBorder::kRoundedSquare);
  EXPECT_FALSE(s.fourthRow);
  EXPECT_TRUE(s.rulerLines);
  EXPECT_EQ(s.lineWidth, 2);
  EXPECT_EQ(s.rowTexts[0], "OK");
  EXPECT_EQ(s.dateRow, 2);
}

TEST_F(StampDialogsTest, PreviewShowsTheRenderedStampAndClosesOnAClick) {
  StampSetting stamp = settings::NewStamp();
  stamp.type = settings::StampType::kSimple;
  stamp.font.SetFaceNameUtf8("DejaVu Sans");
  stamp.borderType = settings::StampBorder::kSquare;
  stamp.rowTexts = {"Orvella", "", "checked", ""};
  stamp.dateRow = 2;
  stamp.lineWidth = 5;
  StampPreviewDialog preview(nullptr, home.Path(), stamp);
  ASSERT_TRUE(preview.Rendered());
  EXPECT_GT(preview.Image().width(), 10);
  EXPECT_TRUE(QRegularExpression(R"(^プレビュー \( 幅 \d+\.\d mm x 高さ \d+\.\d mm \)$)")
                  .match(preview.windowTitle())
                  .hasMatch())
      << preview.windowTitle().toStdString();
  ShowActive(preview);
  Screenshot(preview, "stamp_preview");
  QTest::mouseClick(&preview, Qt::LeftButton);
  EXPECT_FALSE(preview.isVisible());
  EXPECT_EQ(preview.result(), QDialog::Rejected);
}

TEST_F(StampDialogsTest, NewWritesTheFileAndDeletingAUsedStampClearsItsSlots) {
  StampListDialog dialog(nullptr, home.Path(), messages,
                         [this](QWidget* parent, StampSetting& stamp, const settings::StampList& stamps,
                                std::optional<size_t> editing) {
                           StampEditDialog edit(parent, home.Path(), messages, stamp, stamps, editing);
                           SetText(edit, "name", "date");
                           Screenshot(edit, "stamp_edit_date");
                           edit.accept();
                           stamp = edit.Result();
                           return edit.result() == QDialog::Accepted;
                         });
  ASSERT_TRUE(dialog.Loaded());
  dialog.New();
  auto saved = settings::LoadStamps(home.Path());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].name, "date");
  EXPECT_EQ(saved[0].pointSize, 10);
  EXPECT_EQ(dialog.list()->topLevelItem(0)->text(1), "日付スタンプ");
  Screenshot(dialog, "stamp_list");

  home.WriteIni(
      "INPUT.INI",
      "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"/hot/a\"\n"
      "STAMP1_NAME=\"other\"\nSTAMP1_HALFTONE=\"1\"\nSTAMP2_NAME=\"date\"\nSTAMP2_HALFTONE=\"2\"\n");
  dialog.Delete(0);
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0],
            "選択されたスタンプ設定を削除します。よろしいですか？\nこの設定は入力フォルダ \"/hot/a\" "
            "で使用されています。");
  const auto inputs = settings::LoadInputSettings(home.Path());
  EXPECT_EQ(inputs[0].stamps[0].name, "other");
  EXPECT_EQ(inputs[0].stamps[0].halftone, 1);
  EXPECT_EQ(inputs[0].stamps[1].name, "");
  EXPECT_EQ(inputs[0].stamps[1].halftone, 0);
  EXPECT_TRUE(settings::LoadStamps(home.Path()).empty());
  EXPECT_TRUE(messages.warnings.empty());
}

}  // namespace
}  // namespace orvella::dialogs::test
