#include <QComboBox>
#include <QLabel>
#include <QTreeWidget>

#include "dialog_fixture.h"
#include "dialogs/fold_edit_dialog.h"
#include "dialogs/fold_list_dialog.h"
#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/validation.h"

namespace orvella::dialogs::test {
namespace {

using settings::FoldSetting;

class FoldDialogsTest : public ::testing::Test {
 protected:
  FoldDialogsTest() {
    // Both folding units: FLD1 brings the fold types with margin rules.
    home.WriteIni("FOLDERMODEL.INI", "[GLOBAL]\nENABLE_FOLDER_FLD1=\"TRUE\"\n");
  }
  orvella::test::SettingsHome home;
  RecordingMessages messages;
};

TEST_F(FoldDialogsTest, SlotEditsShowAtOnceAndTheMarginRuleIsChecked) {
  const std::vector<FoldSetting> list;
  FoldEditDialog dialog(nullptr, home.Path(), messages, FoldSetting{}, list, std::nullopt);
  ShowActive(dialog);
  SetText(dialog, "name", "folded");
  Child<QComboBox>(dialog, "folderModel")->setCurrentIndex(settings::kFolderUnitFld1);
  auto* slotList = Child<QTreeWidget>(dialog, "slots");
  auto* foldType = Child<QComboBox>(dialog, "foldType");
  slotList->setCurrentItem(slotList->topLevelItem(settings::kSlotA1Tate));
  foldType->setCurrentIndex(foldType->findText("ファイル正W"));
  auto* margin = dialog.findChild<QWidget*>("margin")->findChild<QLineEdit*>();
  margin->setText("10");
  EXPECT_EQ(slotList->topLevelItem(settings::kSlotA1Tate)->text(1), "ファイル正W");
  EXPECT_EQ(slotList->topLevelItem(settings::kSlotA1Tate)->text(2), "10");
  EXPECT_EQ(Child<QLabel>(dialog, "marginRule")->text(), "25 ～ 40");
  Screenshot(dialog, "fold_edit");

  // The failure brings its slot back into view before focusing the margin.
  slotList->setCurrentItem(slotList->topLevelItem(settings::kSlotA0Tate));
  dialog.accept();
  ExpectFieldFailure(dialog, messages, "A1縦 ファイル正W のマージンは 25 ～ 40 で指定してください。",
                     "margin");
  EXPECT_EQ(slotList->currentItem(), slotList->topLevelItem(settings::kSlotA1Tate));
  EXPECT_EQ(margin->text(), "10");

  margin->setText("30");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const FoldSetting& fold = dialog.Result();
  EXPECT_EQ(fold.name, "folded");
  EXPECT_EQ(fold.folderModel, settings::kFolderUnitFld1);
  EXPECT_EQ(fold.foldTypes[settings::kSlotA1Tate], settings::kFoldFileW);
  EXPECT_EQ(fold.margins[settings::kSlotA1Tate], 30);
  EXPECT_EQ(fold.margins[settings::kSlotA0Tate], -1);
}

TEST_F(FoldDialogsTest, NameAndFoldTypeFailuresFocusTheirFields) {
  FoldSetting taken;
  taken.name = "taken";
  FoldSetting stale;  // a type the default unit does not offer
  stale.name = "stale";
  stale.foldTypes[settings::kSlotA2Yoko] = settings::kFoldCross;
  const std::vector<FoldSetting> list{taken};
  struct Case {
    FoldSetting fold;
    std::string message;
    const char* field;
  };
  const Case cases[] = {
      {FoldSetting{}, "紙折設定名称を入力してください。", "name"},
      {taken, std::string(settings::kSettingNameTaken), "name"},
      {stale, "指定した折種類は無効のため再指定してください。", "foldType"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    messages.warnings.clear();
    FoldEditDialog dialog(nullptr, home.Path(), messages, c.fold, list, std::nullopt);
    ShowActive(dialog);
    dialog.accept();
    ExpectFieldFailure(dialog, messages, c.message, c.field);
  }
}

TEST_F(FoldDialogsTest, NewWritesTheFileAndDeletingAUsedFoldClearsItsReferences) {
  FoldListDialog dialog(nullptr, home.Path(), messages,
                        [this](QWidget* parent, FoldSetting& fold, const std::vector<FoldSetting>& list,
                               std::optional<size_t> index) {
                          FoldEditDialog edit(parent, home.Path(), messages, fold, list, index);
                          SetText(edit, "name", "z-fold");
                          Child<QComboBox>(edit, "foldType")->setCurrentIndex(1);
                          edit.accept();
                          fold = edit.Result();
                          return edit.result() == QDialog::Accepted;
                        });
  ASSERT_TRUE(dialog.Loaded());
  dialog.New();
  std::vector<FoldSetting> saved;
  ASSERT_TRUE(settings::LoadFolds(home.Path(), saved));
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].name, "z-fold");
  EXPECT_EQ(saved[0].foldTypes[settings::kSlotA0Tate], settings::kFoldZigzag140);
  EXPECT_EQ(dialog.list()->topLevelItem(0)->text(1), "Folder FLD2");
  Screenshot(dialog, "fold_list");

  home.WriteIni("INPUT.INI",
                "[GLOBAL]\nNUM_INPUTS=\"3\"\n"
                "[INPUT_0]\nINPUT_DIR=\"/hot/a\"\nWIDEOPTION_FOLDNAME=\"other\"\n"
                "[INPUT_1]\nINPUT_DIR=\"/hot/b\"\nWIDEOPTION_FOLDNAME=\"z-fold\"\n"
                "[INPUT_2]\nINPUT_DIR=\"/hot/c\"\nWIDEOPTION_FOLDNAME=\"z-fold\"\n");
  dialog.Delete(0);
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0],
            "選択された紙折設定を削除します。よろしいですか？\nこの設定は入力フォルダ \"/hot/b\" "
            "で使用されています。");
  const auto inputs = settings::LoadInputSettings(home.Path());
  ASSERT_EQ(inputs.size(), 3u);
  EXPECT_EQ(inputs[0].wideFoldName, "other");
  EXPECT_EQ(inputs[1].wideFoldName, "");
  EXPECT_EQ(inputs[2].wideFoldName, "");
  ASSERT_TRUE(settings::LoadFolds(home.Path(), saved));
  EXPECT_TRUE(saved.empty());
  EXPECT_TRUE(messages.warnings.empty());
}

TEST_F(FoldDialogsTest, AnUnreadableFoldFileClosesTheListSilently) {
  home.WriteIni("FOLD.INI", "[GLOBAL]\nNUM_FOLDS=\"1\"\n[FOLD_0]\nNAME=\"f\"\nA0TATE_FOLDTYPE=\"NOSUCH\"\n");
  FoldListDialog dialog(nullptr, home.Path(), messages);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_TRUE(messages.warnings.empty());
}

}  // namespace
}  // namespace orvella::dialogs::test
