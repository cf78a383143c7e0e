#include "dialogs/input_folder_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>

#include "dialog_fixture.h"
#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/printer_settings.h"
#include "settings/validation.h"

namespace orvella::dialogs::test {
namespace {

using settings::InputFolderSetting;

class InputFolderDialogTest : public ::testing::Test {
 protected:
  InputFolderDialogTest() {
    settings::PrinterSetting wide;
    wide.name = "wide";
    wide.ipAddr = {127, 0, 0, 1};
    settings::PrinterSetting a2;
    a2.name = "a2";
    a2.ipAddr = {127, 0, 0, 2};
    a2.model = settings::kA2ModelNumber;
    EXPECT_TRUE(settings::SavePrinterSettings(home.Path(), {wide, a2}));
    existing.inputDir = "/hot/existing";
    existing.widePrinterName = "wide";
  }

  void Choose(const QWidget& dialog, const char* combo, const char* text) {
    auto* box = Child<QComboBox>(dialog, combo);
    box->setCurrentIndex(box->findText(text));
    ASSERT_GE(box->currentIndex(), 0) << combo << " " << text;
  }

  orvella::test::SettingsHome home;
  RecordingMessages messages;
  InputFolderSetting existing;
};

QLineEdit* UpDownText(const QWidget& dialog, const char* name) {
  return dialog.findChild<QWidget*>(name)->findChild<QLineEdit*>();
}

TEST_F(InputFolderDialogTest, ChecksRunPageByPageAndShowTheFailingFieldOnItsPage) {
  const std::vector<InputFolderSetting> all{existing};
  struct Case {
    std::string inputDir, widePrinter, quantity, memo, magnification3;
    std::string message;
    const char* field;
    int page;
  };
  const Case cases[] = {
      {"", "wide", "1", "", "100.0", "入力フォルダを選択してください。", "inputDir", 0},
      {"/hot/existing", "wide", "1", "", "100.0", "選択された入力フォルダは既に登録されています。",
       "inputDir", 0},
      {"/hot/new", "", "1", "", "100.0",
       "使用プリンタを「広幅機」と「A2以下機」から、少なくとも1つ選択してください。", "widePrinter", 0},
      {"/hot/new", "wide", "0", "", "100.0", "部数は1～999で指定してください。", "quantity", 0},
      {"/hot/new", "wide", "1", "memo\u00e9", "100.0", *settings::CheckStorableText("\u00e9"), "memo", 0},
      {"/hot/new", "wide", "1", "", "1.0.0", "出力設定の変倍サイズは20.0～400.0で指定してください。",
       "magnification3", 1},
      {"/hot/new", "wide", "1", "", "7", "出力設定の変倍サイズは20.0～400.0で指定してください。",
       "magnification3", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    messages.warnings.clear();
    InputFolderDialog dialog(nullptr, home.Path(), messages, InputFolderSetting{}, all, std::nullopt);
    ShowActive(dialog);
    SetText(dialog, "inputDir", c.inputDir);
    Choose(dialog, "widePrinter", c.widePrinter.c_str());
    UpDownText(dialog, "quantity")->setText(QString::fromStdString(c.quantity));
    SetText(dialog, "memo", c.memo);
    UpDownText(dialog, "magnification3")->setText(QString::fromStdString(c.magnification3));
    auto* pages = Child<QTabWidget>(dialog, "pages");
    pages->setCurrentIndex(3);
    dialog.accept();
    ExpectFieldFailure(dialog, messages, c.message, c.field);
    EXPECT_EQ(pages->currentIndex(), c.page);
  }
}

TEST_F(InputFolderDialogTest, OkReturnsEveryPageInTheRecord) {
  settings::FoldSetting fold;
  fold.name = "z";
  ASSERT_TRUE(settings::SaveFolds(home.Path(), {fold}));
  const std::vector<InputFolderSetting> all{existing};
  InputFolderDialog dialog(nullptr, home.Path(), messages, existing, all, 0);
  ShowActive(dialog);
  SetText(dialog, "memo", "説明");
  Choose(dialog, "a2Printer", "a2");
  Choose(dialog, "threshold", "A4");
  Choose(dialog, "hpglProgramWide", "16");
  Child<QRadioButton>(dialog, "bySize6")->setChecked(true);
  Choose(dialog, "target6", "B5");
  Choose(dialog, "rotation0", "左90度");
  UpDownText(dialog, "magnification1")->setText("50.5");
  Child<QCheckBox>(dialog, "fold")->setChecked(true);
  Child<QCheckBox>(dialog, "duplex")->setChecked(true);
  Choose(dialog, "duplexList", "上下開き");
  Child<QTabWidget>(dialog, "pages")->setCurrentIndex(3);
  Screenshot(dialog, "input_folder_options");
  Child<QTabWidget>(dialog, "pages")->setCurrentIndex(2);
  Screenshot(dialog, "input_folder_stamps");
  Child<QTabWidget>(dialog, "pages")->setCurrentIndex(1);
  Screenshot(dialog, "input_folder_output");
  Child<QTabWidget>(dialog, "pages")->setCurrentIndex(0);
  Screenshot(dialog, "input_folder_general");
  dialog.accept();
  ASSERT_TRUE(messages.warnings.empty()) << messages.warnings[0];
  ASSERT_EQ(dialog.result(), QDialog::Accepted);

  const InputFolderSetting& r = dialog.Result();
  EXPECT_EQ(r.inputDir, "/hot/existing");
  EXPECT_EQ(r.memo, "説明");
  EXPECT_EQ(r.widePrinterName, "wide");
  EXPECT_EQ(r.a2PrinterName, "a2");
  EXPECT_EQ(r.a2Threshold, settings::A2Threshold::kA4);
  EXPECT_EQ(r.hpglProgramWide, 16);
  EXPECT_EQ(r.Output(settings::InputSize::kB4).target, settings::OutputTarget::kB5);
  EXPECT_EQ(r.Output(settings::InputSize::kA0).rotation, settings::Rotation::kLeft90);
  EXPECT_EQ(r.Output(settings::InputSize::kA1).magnification, 50.5);
  EXPECT_EQ(r.wideFoldName, "z");
  EXPECT_EQ(r.duplex, settings::DuplexMode::kFlip);
  EXPECT_EQ(r.staple, settings::StapleMode::kNone);
}

TEST_F(InputFolderDialogTest, ControlsFollowThePrinterChoicesAndTheHiddenSettings) {
  const std::vector<InputFolderSetting> all;
  {
    InputFolderDialog dialog(nullptr, home.Path(), messages, InputFolderSetting{}, all, std::nullopt);
    dialog.show();
    const auto enabled = [&](const char* name) { return dialog.findChild<QWidget*>(name)->isEnabled(); };
    EXPECT_FALSE(enabled("widePaperType"));
    EXPECT_FALSE(enabled("threshold"));
    EXPECT_FALSE(enabled("staple"));
    Choose(dialog, "widePrinter", "wide");
    EXPECT_TRUE(enabled("widePaperType"));
    EXPECT_TRUE(enabled("hpglProgramWide"));
    EXPECT_FALSE(enabled("tiffProgramA2"));
    EXPECT_FALSE(enabled("threshold"));
    EXPECT_FALSE(enabled("fold"));  // no fold settings exist
    Choose(dialog, "a2Printer", "a2");
    EXPECT_TRUE(enabled("threshold"));
    EXPECT_TRUE(enabled("staple"));
    EXPECT_FALSE(enabled("stapleList"));
    Child<QTabWidget>(dialog, "pages")->setCurrentIndex(3);
    EXPECT_FALSE(Child<QCheckBox>(dialog, "a4Fold")->isVisible());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "zFold")->isVisible());
  }
  home.WriteIni("HIDDEN.INI",
                "[SETTING]\nENABLE_A4_FOLD=TRUE\nENABLE_Z_FOLD=TRUE\nENABLE_PAPER_SIZE_B=TRUE\n");
  InputFolderDialog dialog(nullptr, home.Path(), messages, existing, all, std::nullopt);
  dialog.show();
  Child<QTabWidget>(dialog, "pages")->setCurrentIndex(3);
  EXPECT_TRUE(Child<QCheckBox>(dialog, "a4Fold")->isVisible());
  EXPECT_TRUE(Child<QCheckBox>(dialog, "zFold")->isVisible());
  EXPECT_FALSE(Child<QComboBox>(dialog, "widePrinter")->isEnabled());
  EXPECT_FALSE(Child<QComboBox>(dialog, "widePaperType")->isEnabled());
}

}  // namespace
}  // namespace orvella::dialogs::test
