#include "settings/fold_validation.h"

#include <gtest/gtest.h>

namespace orvella::settings {
namespace {

const std::vector<FolderModel> kUnits = {Fld2DefaultFolderModel(), Fld1FolderModel()};

// A FLD1 fold valid in every slot but the one under test.
FoldSetting Fld1Fold(int slot, int type, int margin) {
  FoldSetting f;
  f.name = "f";
  f.folderModel = kFolderUnitFld1;
  f.foldTypes[static_cast<size_t>(slot)] = type;
  f.margins[static_cast<size_t>(slot)] = margin;
  return f;
}

TEST(FoldValidation, MarginRulesWithSizeAndTypeInTheMessage) {
  struct Case {
    int slot, type, margin;
    const char* message;  // nullptr: passes
  };
  const Case cases[] = {
      {kSlotA1Yoko, kFoldFileRev, 30, nullptr},
      {kSlotA1Yoko, kFoldFileRev, 25, nullptr},
      {kSlotA1Yoko, kFoldFileRev, 40, nullptr},
      {kSlotA1Yoko, kFoldFileRev, 105, "A1横 ファイル逆 のマージンは 25 ～ 40 で指定してください。"},
      {kSlotA0Tate, kFoldFileRevW, 24, "A0縦 ファイル逆W のマージンは 25 ～ 40 で指定してください。"},
      {kSlotA2Yoko, kFoldFileRev, 94, nullptr},
      {kSlotA2Yoko, kFoldFileRev, 105, "A2横 ファイル逆 のマージンは 94 で指定してください。"},
      {kSlotA2Tate, kFoldFileRev, 105, nullptr},
      {kSlotA2Tate, kFoldFileRev, 30, "A2縦 ファイル逆 のマージンは 105 で指定してください。"},
      {kSlotA3Tate, kFoldJisFile, 104, nullptr},
      {kSlotA3Tate, kFoldJisFile, 30, "A3縦 JISファイル のマージンは 104 で指定してください。"},
      {kSlotA2Tate, kFoldFileNoAdj, 17, nullptr},
      {kSlotA2Tate, kFoldFileNoAdj, -1, "A2縦 ファイル正(調整無し) のマージンは 17 で指定してください。"},
      {kSlotA0Tate, kFoldCross, -1, nullptr},  // no rule: not checked
  };
  for (const auto& c : cases) {
    FoldSetting f = Fld1Fold(c.slot, c.type, c.margin);
    auto failure = ValidateFoldSetting(f, {}, std::nullopt, kUnits);
    if (!c.message) {
      EXPECT_FALSE(failure) << failure->message;
      continue;
    }
    ASSERT_TRUE(failure) << c.message;
    EXPECT_EQ(failure->message, c.message);
    EXPECT_EQ(failure->field, FoldField::kMargin);
    EXPECT_EQ(failure->row, c.slot);
  }
}

TEST(FoldValidation, FoldTypeMustBeOfferedByTheChosenUnit) {
  // FILEREV on A0TATE with a good margin: FLD1 does not offer it there.
  FoldSetting f = Fld1Fold(kSlotA0Tate, kFoldFileRev, 105);
  f.foldTypes[kSlotA2Yoko] = kFoldTwo;  // a later bad slot is not reached
  auto failure = ValidateFoldSetting(f, {}, std::nullopt, kUnits);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->message, "指定した折種類は無効のため再指定してください。");
  EXPECT_EQ(failure->field, FoldField::kFoldType);
  EXPECT_EQ(failure->row, kSlotA0Tate);

  // The type check of a slot comes before the margin of a later slot.
  f = Fld1Fold(kSlotA3Tate, kFoldJisFile, 0);
  f.foldTypes[kSlotA1Tate] = kFoldZigzag140;
  failure = ValidateFoldSetting(f, {}, std::nullopt, kUnits);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->row, kSlotA1Tate);

  // A fold of the FLD1 unit when the list holds FLD2 only.
  f = Fld1Fold(kSlotA0Tate, kFoldOff, 0);
  failure = ValidateFoldSetting(f, {}, std::nullopt, {Fld2DefaultFolderModel()});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->field, FoldField::kFoldType);
  f.folderModel = kFolderUnitFld2;
  EXPECT_FALSE(ValidateFoldSetting(f, {}, std::nullopt, {Fld2DefaultFolderModel()}));
}

TEST(FoldValidation, NameRules) {
  const std::vector<FoldSetting> list = {Fld1Fold(0, kFoldOff, 0)};  // named "f"
  FoldSetting f = Fld1Fold(0, kFoldOff, 0);
  f.name = "\xE3\x80\x80";
  auto failure = ValidateFoldSetting(f, list, std::nullopt, kUnits);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->message, "紙折設定名称を入力してください。");

  f.name = " f ";
  failure = ValidateFoldSetting(f, list, std::nullopt, kUnits);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->message, "入力された設定名称は既に登録されています。");
  EXPECT_EQ(failure->field, FoldField::kName);
  EXPECT_FALSE(ValidateFoldSetting(f, list, 0, kUnits));  // its own entry
}

}  // namespace
}  // namespace orvella::settings
