#include "settings/input_settings.h"

#include <gtest/gtest.h>

#include "settings/ini_file.h"
#include "settings/input_validation.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

class InputSettingsTest : public ::testing::Test {
 protected:
  InputSettingsTest() { CreateApplicationFolders(home.Path()); }
  std::filesystem::path IniPath() const { return home / "INI/INPUT.INI"; }
  test::TempDir home;
};

InputFolderSetting Sample() {
  InputFolderSetting r;
  r.inputDir = "/srv/hot/図面";
  r.memo = "設計部";
  r.widePrinterName = "WIDE1";
  r.a2PaperType = PaperType::kOther;
  r.a2PrinterName = "A2-1";
  r.a2Threshold = A2Threshold::kA4;
  r.tiffProgramWide = 3;
  r.hpglProgramWide = 16;
  r.tiffProgramA2 = 1;
  r.quantity = 2;
  r.autoRotate = false;
  r.outputs[static_cast<int>(InputSize::kA1)] = {OutputTarget::kA3, 70.7, Rotation::kRight90};
  r.outputs[static_cast<int>(InputSize::kInfixed)] = {OutputTarget::kMag, 50, Rotation::kHalfTurn};
  r.stamps[0] = {"承認", 2};
  r.stamps[2] = {"DATE", 0};
  r.stampTopPageOnly = true;
  r.wideFoldName = "FOLD-A";
  r.staple = StapleMode::kTop2;
  r.punch = PunchMode::kRight;
  r.duplex = DuplexMode::kFlip;
  r.zFold = ZFoldMode::kZBottom;
  r.twoUp = true;
  return r;
}

TEST_F(InputSettingsTest, SaveWritesTheGoldenFileAndLoadsBack) {
  SaveInputSettings(home.Path(), {Sample()});
  EXPECT_EQ(test::ReadFileBytes(IniPath()),
            test::ReadFileBytes(std::filesystem::path(ORVELLA_TEST_DATA) / "settings/INPUT.golden.INI"));
  const auto loaded = LoadInputSettings(home.Path());
  ASSERT_EQ(loaded.size(), 1u);
  const auto& r = loaded[0];
  const auto s = Sample();
  EXPECT_EQ(r.inputDir, s.inputDir);
  EXPECT_EQ(r.memo, s.memo);
  EXPECT_EQ(r.a2PaperType, PaperType::kOther);
  EXPECT_EQ(r.a2Threshold, A2Threshold::kA4);
  EXPECT_EQ(r.hpglProgramWide, 16);
  EXPECT_FALSE(r.autoRotate);
  EXPECT_EQ(r.Output(InputSize::kA1).target, OutputTarget::kA3);
  EXPECT_DOUBLE_EQ(r.Output(InputSize::kA1).magnification, 70.7);
  EXPECT_EQ(r.Output(InputSize::kInfixed).rotation, Rotation::kHalfTurn);
  EXPECT_EQ(r.stamps[0].name, "承認");
  EXPECT_EQ(r.stamps[0].halftone, 2);
  EXPECT_EQ(r.staple, StapleMode::kTop2);
  EXPECT_EQ(r.zFold, ZFoldMode::kZBottom);
  EXPECT_TRUE(r.twoUp && r.stampTopPageOnly);
  EXPECT_FALSE(r.autoPaper);
}

TEST_F(InputSettingsTest, MissingAndUnknownValuesReadAsDefaults) {
  IniFile ini(home.Path(), "/INI/INPUT.INI");
  ini.WriteInt("GLOBAL", "NUM_INPUTS", 2);
  ini.WriteString("INPUT_0", "WIDE_PRINTER_NAME", "renamed since");
  ini.WriteString("INPUT_0", "OUTPUT_SETTING_A3", "A9");
  ini.WriteString("INPUT_0", "OUTPUT_SETTING_A3_ROT", "180");
  ini.WriteString("INPUT_0", "A2OPTION_STAPLE", "EVERYWHERE");
  ini.WriteString("INPUT_0", "A2_PRINTER_PAPERTYPE", "GLOSSY");
  const auto list = LoadInputSettings(home.Path());
  ASSERT_EQ(list.size(), 2u);  // INPUT_1 is missing: all defaults
  EXPECT_EQ(list[0].widePrinterName, "renamed since");
  EXPECT_EQ(list[0].Output(InputSize::kA3).target, OutputTarget::kMag);
  EXPECT_EQ(list[0].Output(InputSize::kA3).rotation, Rotation::kHalfTurn);
  EXPECT_EQ(list[0].staple, StapleMode::kNone);
  EXPECT_EQ(list[0].a2PaperType, PaperType::kPlain);
  const auto& d = list[1];
  EXPECT_EQ(d.a2Threshold, A2Threshold::kA3);
  EXPECT_EQ(d.quantity, 1);
  EXPECT_TRUE(d.autoRotate && d.useOutputSetting);
  EXPECT_EQ(d.Output(InputSize::kB5).target, OutputTarget::kMag);
  EXPECT_EQ(d.Output(InputSize::kB5).magnification, 100);
  EXPECT_EQ(d.Output(InputSize::kB5).rotation, Rotation::kNone);

  ini.WriteInt("GLOBAL", "NUM_INPUTS", 2000000000);
  EXPECT_EQ(LoadInputSettings(home.Path()).size(), static_cast<size_t>(kMaxListRecords));
  ini.WriteInt("GLOBAL", "NUM_INPUTS", -1);
  EXPECT_TRUE(LoadInputSettings(home.Path()).empty());
}

TEST_F(InputSettingsTest, EmptyListAndFinders) {
  SaveInputSettings(home.Path(), {});
  EXPECT_EQ(test::ReadFileBytes(IniPath()), "[GLOBAL]\r\nNUM_INPUTS=\"0\"\r\n");
  EXPECT_TRUE(LoadInputSettings(home.Path()).empty());

  auto a = Sample();
  auto b = Sample();
  b.inputDir = "/b";
  b.widePrinterName = "";
  b.a2PrinterName = "WIDE1";
  b.stamps = {};
  b.stamps[1].name = "X";
  b.wideFoldName = "F2";
  const std::vector<InputFolderSetting> list = {a, b};
  EXPECT_EQ(FindInputByPrinter(list, "WIDE1"), &list[0]);
  EXPECT_EQ(FindInputByPrinter(list, "wide1"), nullptr);  // names are exact
  EXPECT_EQ(FindInputByStamp(list, "X"), &list[1]);
  EXPECT_EQ(FindInputByFold(list, "F2"), &list[1]);
  EXPECT_EQ(FindInputByFold(list, "none"), nullptr);
}

constexpr const char* kInProgramFolder = "プログラムフォルダ内のフォルダは入力フォルダとして使用できません。";

TEST(InputValidation, GeneralPageRulesInOrder) {
  std::vector<InputFolderSetting> all(2);
  all[0].inputDir = "/srv/hot/a";
  all[1].inputDir = "/srv/hot/b";
  const std::filesystem::path gvfs = "/run/user/1000/gvfs";
  const std::filesystem::path program = "/srv/orvella";
  auto base = InputGeneralForm{"/srv/hot/new", "WIDE", "", "1"};
  struct Case {
    InputGeneralForm form;
    std::optional<size_t> edited;
    const char* message;  // nullptr: passes
    InputField field;
  };
  auto with = [&](auto change) {
    auto f = base;
    change(f);
    return f;
  };
  const Case cases[] = {
      {base, std::nullopt, nullptr, InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/" + std::string(260, 'x'); }), std::nullopt,
       "入力フォルダパスは半角 260 文字以内で指定してください。", InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/" + std::string(130, 'x'); }), std::nullopt, nullptr,
       InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/" + std::string(258, 'x') + "あ"; }), std::nullopt,
       "入力フォルダパスは半角 260 文字以内で指定してください。", InputField::kInputDir},
      {with([](auto& f) {
         f.inputDir = "";
         f.widePrinterName = "";
       }),
       std::nullopt, "入力フォルダを選択してください。", InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/RUN/user/1000/GVFS/smb-share:server=x/d"; }), std::nullopt,
       "選択されたフォルダは入力フォルダとして使用できません。", InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/run/user/1000/gvfs-other"; }), std::nullopt, nullptr,
       InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv/orvella"; }), std::nullopt, kInProgramFolder,
       InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv/orvella/LOG/"; }), std::nullopt, kInProgramFolder,
       InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv/hot/../orvella/INI"; }), std::nullopt, kInProgramFolder,
       InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv/orvella-hot"; }), std::nullopt, nullptr, InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv"; }), std::nullopt, nullptr, InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv/hot/b"; }), std::nullopt,
       "選択された入力フォルダは既に登録されています。", InputField::kInputDir},
      {with([](auto& f) { f.inputDir = "/srv/hot/b"; }), 1, nullptr, InputField::kInputDir},  // its own entry
      {with([](auto& f) { f.inputDir = "/SRV/hot/b"; }), std::nullopt, nullptr, InputField::kInputDir},
      {with([](auto& f) { f.widePrinterName = ""; }), std::nullopt,
       "使用プリンタを「広幅機」と「A2以下機」から、少なくとも1つ選択してください。",
       InputField::kWidePrinter},
      {with([](auto& f) {
         f.widePrinterName = "";
         f.a2PrinterName = "A2";
       }),
       std::nullopt, nullptr, InputField::kInputDir},
      {with([](auto& f) { f.quantityText = "0"; }), std::nullopt, "部数は1～999で指定してください。",
       InputField::kQuantity},
      {with([](auto& f) { f.quantityText = "1000"; }), std::nullopt, "部数は1～999で指定してください。",
       InputField::kQuantity},
      {with([](auto& f) { f.quantityText = "2x"; }), std::nullopt, "部数は1～999で指定してください。",
       InputField::kQuantity},
      {with([](auto& f) { f.quantityText = "999"; }), std::nullopt, nullptr, InputField::kQuantity},
  };
  for (const auto& c : cases) {
    auto issue = ValidateInputGeneral(c.form, all, c.edited, gvfs, program);
    if (!c.message) {
      EXPECT_FALSE(issue) << c.form.inputDir << " " << issue->message;
      continue;
    }
    ASSERT_TRUE(issue) << c.message;
    EXPECT_EQ(issue->message, c.message);
    EXPECT_EQ(issue->field, c.field);
  }
}

// A folder that leads into the program folder through a link is inside it
// too; the detail names the rule.
TEST(InputValidation, AFolderLinkedIntoTheProgramFolderIsRefused) {
  test::TempDir dir;
  const std::filesystem::path program = dir / "home";
  std::filesystem::create_directories(program / "LOG");
  std::filesystem::create_directory_symlink(program / "LOG", dir / "hot");
  std::filesystem::create_directory(dir / "real-hot");
  const InputGeneralForm linked{(dir / "hot").string(), "WIDE", "", "1"};
  const auto issue = ValidateInputGeneral(linked, {}, std::nullopt, "", program);
  ASSERT_TRUE(issue);
  EXPECT_EQ(issue->message, kInProgramFolder);
  EXPECT_NE(issue->detail.find("the program folder (" + program.string() + ")"), std::string::npos)
      << issue->detail;
  const InputGeneralForm plain{(dir / "real-hot").string(), "WIDE", "", "1"};
  EXPECT_FALSE(ValidateInputGeneral(plain, {}, std::nullopt, "", program));
}

TEST(InputValidation, MagnificationRowsSetToPercentage) {
  std::array<OutputTarget, kInputSizeCount> targets;
  targets.fill(OutputTarget::kA3);
  std::array<std::string, kInputSizeCount> texts;
  texts.fill("bad");
  EXPECT_FALSE(ValidateOutputSettings(true, targets, texts));  // no percentage rows
  targets[4] = OutputTarget::kMag;
  EXPECT_FALSE(ValidateOutputSettings(false, targets, texts));  // output settings off
  for (const char* ok : {"20", "400.0", "70.7", "100.0"}) {
    texts[4] = ok;
    EXPECT_FALSE(ValidateOutputSettings(true, targets, texts)) << ok;
  }
  for (const char* bad : {"19.9", "400.1", "", "100.00", "1e2", "abc"}) {
    texts[4] = bad;
    auto issue = ValidateOutputSettings(true, targets, texts);
    ASSERT_TRUE(issue) << bad;
    EXPECT_EQ(issue->message, "出力設定の変倍サイズは20.0～400.0で指定してください。");
    EXPECT_EQ(issue->row, 4);
  }
}

}  // namespace
}  // namespace orvella::settings
