#include "settings/fold_settings.h"

#include <gtest/gtest.h>

#include "settings/folder_models.h"
#include "settings_home.h"

namespace orvella::settings {
namespace {

TEST(FoldTypes, KeysAndMarginRules) {
  EXPECT_EQ(FoldTypeFromKey("ZIGZAGFILE"), kFoldZigzagFile);
  EXPECT_EQ(FoldTypeFromKey("OFF"), kFoldOff);
  EXPECT_FALSE(FoldTypeFromKey("off"));
  EXPECT_FALSE(FoldTypeFromKey("ZIGZAG_100"));
  EXPECT_EQ(FoldTypeKey(kFoldJisFile), "JISFILE");

  EXPECT_FALSE(FoldMarginRule(kFoldCross, kSlotA0Tate));
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldCross, kSlotA0Tate)), "なし");
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldFileRev, kSlotA0Tate)), "105 のみ");
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldFileRev, kSlotA1Yoko)), "25 ～ 40");
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldFileRev, kSlotA2Yoko)), "94 のみ");
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldJisFile, kSlotA3Tate)), "104 のみ");
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldJisFile, kSlotA1Tate)), "25 ～ 40");
  EXPECT_EQ(FoldMarginRuleText(FoldMarginRule(kFoldFileNoAdj, kSlotA3Tate)), "17 のみ");
}

TEST(FoldSettings, RecordsWithoutModelBelongToFld1AndEnableItWhenTheUnitFileIsCreated) {
  test::SettingsHome home;
  home.WriteIni("FOLD.INI",
                "[GLOBAL]\nNUM_FOLDS=\"2\"\n"
                "[FOLD_0]\nNAME=\"折り\"\nA1YOKO_FOLDTYPE=\"FILEREV\"\nA1YOKO_FOLDMARGIN=\"30\"\n"
                "[FOLD_1]\nNAME=\"b\"\nMODEL=\"FLD2\"\n");
  std::vector<FoldSetting> folds;
  ASSERT_TRUE(LoadFolds(home.Path(), folds));
  ASSERT_EQ(folds.size(), 2u);
  EXPECT_EQ(folds[0].name, "折り");
  EXPECT_EQ(folds[0].folderModel, kFolderUnitFld1);
  EXPECT_EQ(folds[0].foldTypes[kSlotA1Yoko], kFoldFileRev);
  EXPECT_EQ(folds[0].margins[kSlotA1Yoko], 30);
  EXPECT_EQ(folds[0].foldTypes[kSlotA0Tate], kFoldOff);
  EXPECT_EQ(folds[0].margins[kSlotA0Tate], 0);
  EXPECT_EQ(folds[1].folderModel, kFolderUnitFld2);

  EXPECT_TRUE(HasFoldWithoutModel(home.Path()));
  CreateFolderModelFile(home.Path());
  const auto units = LoadFolderModels(home.Path());
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].name, "Folder FLD2");
  EXPECT_EQ(units[0].foldTypes, Fld2DefaultFolderModel().foldTypes);
  EXPECT_EQ(units[1].foldTypes, Fld1FolderModel().foldTypes);
  EXPECT_EQ(units[1].foldTypes[kSlotA1Yoko],
            (std::vector<int>{kFoldOff, kFoldJisFile, kFoldBasicRev, kFoldBagRev, kFoldFileRevW, kFoldFileRev,
                              kFoldCross, kFoldFileW}));

  // Once written, the file is left alone.
  home.WriteIni("FOLD.INI", "[GLOBAL]\nNUM_FOLDS=\"0\"\n");
  CreateFolderModelFile(home.Path());
  EXPECT_EQ(LoadFolderModels(home.Path()).size(), 2u);
}

TEST(FoldSettings, UnitFileIsCreatedWithoutFld1WhenEveryFoldHasAModel) {
  test::SettingsHome home;
  EXPECT_FALSE(HasFoldWithoutModel(home.Path()));  // no FOLD.INI
  CreateFolderModelFile(home.Path());
  const std::string text = home.ReadIni("FOLDERMODEL.INI");
  EXPECT_EQ(text.substr(0, text.find("[FOLDER_0_A1TATE_FOLDTYPE]")),
            "[GLOBAL]\nENABLE_FOLDER_FLD1=\"FALSE\"\nNUM_FOLDERS=\"1\"\n[FOLDER_0]\nNAME=\"Folder FLD2\"\n"
            "[FOLDER_0_A0TATE_FOLDTYPE]\nNUM_FOLDTYPES=\"6\"\nFOLDTYPE_0=\"OFF\"\nFOLDTYPE_1=\"ZIGZAG_140\"\n"
            "FOLDTYPE_2=\"ZIGZAG_170\"\nFOLDTYPE_3=\"ZIGZAG_210\"\nFOLDTYPE_4=\"ZIGZAG_297\"\nFOLDTYPE_5="
            "\"ZIGZAGFILE\"\n");
  EXPECT_EQ(LoadFolderModels(home.Path()).size(), 1u);
}

TEST(FolderModels, FileRules) {
  test::SettingsHome home;
  // Missing file: the FLD2 defaults from memory, nothing written.
  auto units = LoadFolderModels(home.Path());
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].name, "Folder FLD2");
  EXPECT_EQ(units[0].foldTypes[kSlotA3Tate], Fld2DefaultFolderModel().foldTypes[kSlotA3Tate]);
  EXPECT_FALSE(std::filesystem::exists(home.Ini("FOLDERMODEL.INI")));
  EXPECT_EQ(FolderDisplayName(home.Path(), 0), "Folder FLD2");
  EXPECT_EQ(FolderDisplayName(home.Path(), 1), "Folder FLD1");
  EXPECT_EQ(FolderDisplayName(home.Path(), 2), "");

  home.WriteIni("FOLDERMODEL.INI",
                "[GLOBAL]\nNUM_FOLDERS=\"3\"\n"
                "[FOLDER_0]\nNAME=\"折り機 X\"\n"
                "[FOLDER_0_A0TATE_FOLDTYPE]\nNUM_FOLDTYPES=\"4\"\n"
                "FOLDTYPE_0=\"OFF\"\nFOLDTYPE_1=\"CROSS\"\nFOLDTYPE_2=\"NOT_A_FOLD\"\nFOLDTYPE_3=\"TWO\"\n"
                "[FOLDER_0_A1TATE_FOLDTYPE]\nNUM_FOLDTYPES=\"2\"\nFOLDTYPE_0=\"TWO\"\n"
                "[FOLDER_1]\nNAME=\"ignored\"\n");
  units = LoadFolderModels(home.Path());
  ASSERT_EQ(units.size(), 1u);  // only FOLDER_0, and FLD1 not enabled
  EXPECT_EQ(units[0].name, "折り機 X");
  EXPECT_EQ(units[0].foldTypes[kSlotA0Tate], (std::vector<int>{kFoldOff, kFoldCross}));
  EXPECT_EQ(units[0].foldTypes[kSlotA1Tate], (std::vector<int>{kFoldTwo, kFoldOff}));  // missing entry is OFF
  EXPECT_TRUE(units[0].foldTypes[kSlotA1Yoko].empty());
  EXPECT_EQ(FolderDisplayName(home.Path(), 0), "折り機 X");

  home.WriteIni("FOLDERMODEL.INI", "[GLOBAL]\nNUM_FOLDERS=\"0\"\nENABLE_FOLDER_FLD1=\"true\"\n");
  units = LoadFolderModels(home.Path());
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].foldTypes, Fld2DefaultFolderModel().foldTypes);
  EXPECT_EQ(units[1].name, "Folder FLD1");
}

TEST(FoldSettings, UnknownFoldTypeKeyFailsTheLoadKeepingEarlierRecords) {
  test::SettingsHome home;
  home.WriteIni("FOLD.INI",
                "[GLOBAL]\nNUM_FOLDS=\"3\"\n[FOLD_0]\nNAME=\"a\"\n"
                "[FOLD_1]\nNAME=\"b\"\nA2TATE_FOLDTYPE=\"file\"\n[FOLD_2]\nNAME=\"c\"\n");
  std::vector<FoldSetting> folds;
  EXPECT_FALSE(LoadFolds(home.Path(), folds));
  ASSERT_EQ(folds.size(), 1u);
  EXPECT_EQ(folds[0].name, "a");
}

TEST(FoldSettings, SaveRoundTripsInKeyOrderAndRefusesUnknownNumbers) {
  test::SettingsHome home;
  FoldSetting fold;
  fold.name = "JIS";
  fold.folderModel = kFolderUnitFld1;
  fold.foldTypes = {kFoldOff, kFoldJisBasic, kFoldJisFile, kFoldTwo, kFoldFileRev, kFoldJisFile};
  fold.margins = {-1, 0, 30, 0, 94, 104};
  ASSERT_TRUE(SaveFolds(home.Path(), {fold, FoldSetting{}}));
  const std::string text = home.ReadIni("FOLD.INI");
  EXPECT_TRUE(
      text.starts_with("[GLOBAL]\nNUM_FOLDS=\"2\"\n[FOLD_0]\nNAME=\"JIS\"\nMODEL=\"FLD1\"\n"
                       "A0TATE_FOLDTYPE=\"OFF\"\nA0TATE_FOLDMARGIN=\"-1\"\nA1TATE_FOLDTYPE="
                       "\"JISBASIC\"\nA1TATE_FOLDMARGIN=\"0\"\n"
                       "A1YOKO_FOLDTYPE=\"JISFILE\"\nA1YOKO_FOLDMARGIN=\"30\"\nA2TATE_FOLDTYPE="
                       "\"TWO\"\nA2TATE_FOLDMARGIN=\"0\"\n"
                       "A2YOKO_FOLDTYPE=\"FILEREV\"\nA2YOKO_FOLDMARGIN=\"94\"\nA3TATE_FOLDTYPE="
                       "\"JISFILE\"\nA3TATE_FOLDMARGIN=\"104\"\n"
                       "[FOLD_1]\nNAME=\"\"\nMODEL=\"FLD2\"\n"))
      << text;
  std::vector<FoldSetting> loaded;
  ASSERT_TRUE(LoadFolds(home.Path(), loaded));
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].foldTypes, fold.foldTypes);
  EXPECT_EQ(loaded[0].margins, fold.margins);
  EXPECT_EQ(loaded[0].folderModel, kFolderUnitFld1);
  EXPECT_EQ(loaded[1].folderModel, kFolderUnitFld2);

  const std::string before = home.ReadIni("FOLD.INI");
  FoldSetting bad;
  bad.foldTypes[2] = kFoldTypeCount;
  EXPECT_FALSE(SaveFolds(home.Path(), {bad}));
  bad = FoldSetting{};
  bad.folderModel = 2;
  EXPECT_FALSE(SaveFolds(home.Path(), {bad}));
  EXPECT_EQ(home.ReadIni("FOLD.INI"), before);
}

TEST(FolderModels, AbsurdFoldTypeCountIsBounded) {
  test::SettingsHome home;
  home.WriteIni("FOLDERMODEL.INI",
                "[GLOBAL]\nNUM_FOLDERS=\"1\"\n[FOLDER_0_A0TATE_FOLDTYPE]\nNUM_FOLDTYPES=\"2000000000\"\n"
                "[FOLDER_0_A1TATE_FOLDTYPE]\nNUM_FOLDTYPES=\"-3\"\n");
  const auto units = LoadFolderModels(home.Path());
  EXPECT_EQ(units[0].foldTypes[kSlotA0Tate].size(), static_cast<size_t>(kMaxListRecords));
  EXPECT_TRUE(units[0].foldTypes[kSlotA1Tate].empty());
}

}  // namespace
}  // namespace orvella::settings
