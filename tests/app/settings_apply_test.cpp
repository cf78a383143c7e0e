// orvella settings apply: the dump's JSON written back through the savers,
// after the dialogs' checks, touching only the files whose records changed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "settings/fold_settings.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/stamp_settings.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using Json = nlohmann::json;
namespace s = orvella::settings;
namespace fs = std::filesystem;

test::ProcessResult Run(const fs::path& home, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.string()});
  return test::RunProcess(test::BinaryPath("orvella"), args);
}

Json Dump(const fs::path& home, bool secrets = false) {
  std::vector<std::string> args{"settings", "dump"};
  if (secrets) args.push_back("--show-secrets");
  const auto result = Run(home, args);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return Json::parse(result.out);
}

test::ProcessResult Apply(const fs::path& home, const Json& json) {
  const fs::path file = home.parent_path() / "apply.json";
  test::WriteFileBytes(file, json.dump());
  return Run(home, {"settings", "apply", file.string()});
}

// Every file of the INI folder, by name, with its bytes.
std::map<std::string, std::string> IniFiles(const fs::path& home) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(home / "INI"))
    files[entry.path().filename().string()] = test::ReadFileBytes(entry.path());
  return files;
}

fs::path ExampleCopy(const test::TempDir& dir) {
  fs::copy(ORVELLA_EXAMPLES "/program-folder", dir / "home", fs::copy_options::recursive);
  return dir / "home";
}

// A folder as the settings dialogs leave it: one record of each list saved.
fs::path ProgramWritten(const test::TempDir& dir) {
  const fs::path home = dir / "home";
  fs::create_directories(home / "INI");
  s::PrinterSetting printer;
  printer.name = "製図室";
  printer.ipAddr = {127, 0, 0, 1};
  printer.loginPassword = "pw";
  EXPECT_TRUE(s::SavePrinterSettings(home, {printer}));
  s::FoldSetting fold;
  fold.name = "折り";
  EXPECT_TRUE(s::SaveFolds(home, {fold}));
  s::StampSetting stamp = s::NewStamp();
  stamp.name = "受付印";
  s::SaveStamps(home, {stamp});
  s::InputFolderSetting input;
  input.inputDir = "/srv/in";
  input.widePrinterName = printer.name;
  input.wideFoldName = fold.name;
  input.stamps[0].name = stamp.name;
  s::SaveInputSettings(home, {input});
  s::SavePreferences(home, s::Preferences{});
  return home;
}

TEST(SettingsApply, DumpThenApplyChangesNoByte) {
  for (const auto& make : {ExampleCopy, ProgramWritten}) {
    test::TempDir dir;
    const fs::path home = make(dir);
    const auto before = IniFiles(home);
    for (const bool secrets : {false, true}) {
      const auto result = Apply(home, Dump(home, secrets));
      ASSERT_EQ(result.exitCode, 0) << result.err;
      EXPECT_EQ(Json::parse(result.out), Json::parse(R"({"written": []})"));
      EXPECT_EQ(IniFiles(home), before);
    }
  }
}

// One field changed: only its file is written, and the change reads back.
TEST(SettingsApply, OneEditedFieldRewritesOnlyItsFile) {
  struct Case {
    const char* field;
    Json value;
    const char* file;
  };
  const Case cases[] = {
      {"/printers/1/IP_ADDR", "127.0.0.9", "PRINTER.INI"},
      {"/inputs/0/QTY", 3, "INPUT.INI"},
      {"/stamps/0/ROW3_TEXT", "設計室", "STAMP.INI"},
      {"/preferences/MARGIN_PLUS", 5, "PREFERENCE.INI"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    test::TempDir dir;
    const fs::path home = ExampleCopy(dir);
    const Json::json_pointer field(c.field);
    Json json = Dump(home);
    json[field] = c.value;
    const auto before = IniFiles(home);
    const auto result = Apply(home, json);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Json::parse(result.out)["written"], Json::array({std::string("INI/") + c.file}));
    auto expected = before;
    expected.erase(c.file);
    auto after = IniFiles(home);
    after.erase(c.file);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(Dump(home)[field], c.value);
  }
}

// A password given in plain text is stored enciphered; one left out (as a
// dump without --show-secrets leaves it) keeps the printer's password. The
// file is its owner's alone afterwards, even when it was copied in readable
// by everyone.
TEST(SettingsApply, PlainPasswordIsEncipheredAndKept) {
  test::TempDir dir;
  const fs::path home = ExampleCopy(dir);
  const fs::path printers = home / "INI/PRINTER.INI";
  ASSERT_EQ(::chmod(printers.c_str(), 0644), 0);
  Json json = Dump(home);
  json["printers"][0]["LOGIN_PASSWORD"] = "秘密pass";
  ASSERT_EQ(Apply(home, json).exitCode, 0);
  EXPECT_EQ(test::ReadFileBytes(printers).find("pass"), std::string::npos);
  EXPECT_EQ(Dump(home, true)["printers"][0]["LOGIN_PASSWORD"], "秘密pass");
  struct stat st {};
  ASSERT_EQ(::stat(printers.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  json = Dump(home);
  json["printers"][0]["LOGIN_USERNAME"] = "operator";
  ASSERT_EQ(Apply(home, json).exitCode, 0);
  const auto printer = s::LoadPrinterSettings(home)[0];
  EXPECT_EQ(printer.loginUsername, "operator");
  EXPECT_EQ(printer.loginPassword, "秘密pass");
}

// Each refusal writes nothing, not even the valid change that comes with it,
// and names the file, the record and the field.
TEST(SettingsApply, RefusesAndWritesNothing) {
  struct Case {
    const char* what;
    std::function<void(Json&)> edit;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {"invalid record", [](Json& j) { j["printers"][1]["IP_ADDR"] = j["printers"][0]["IP_ADDR"]; }, 1,
       "INI/PRINTER.INI: printer 1 (\"office\"), IP_ADDR: 入力されたIPアドレスは既に登録されています。"},
      {"dangling reference", [](Json& j) { j["folds"][0]["NAME"] = "別の折り"; }, 1,
       "INI/INPUT.INI: input 0 (\"/srv/orvella/hot/drawings\"), WIDEOPTION_FOLDNAME: "},
      {"changed hidden value", [](Json& j) { j["hidden"]["SEND_RETRY"] = 9; }, 1,
       "INI/HIDDEN.INI: hidden, SEND_RETRY: differs"},
      {"value outside its enumeration", [](Json& j) { j["printers"][0]["MODEL"] = 9; }, 1,
       "INI/PRINTER.INI: printer 0 (\"plotter\"), MODEL: 9 is not one of the numbers 0 to 5"},
      {"wrong type", [](Json& j) { j["stamps"][0]["XPOS"] = "10"; }, 2,
       "INI/STAMP.INI: stamp 0 (\"受付印\"), XPOS: must be a whole number"},
      {"unknown key", [](Json& j) { j["inputs"][0]["COLOR"] = 1; }, 2, "unknown key \"COLOR\""},
      {"missing key", [](Json& j) { j["folds"][0].erase("MODEL"); }, 2, "MODEL: missing"},
      {"unknown member", [](Json& j) { j["printer"] = Json::array(); }, 2, "unknown key \"printer\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    const fs::path home = ExampleCopy(dir);
    Json json = Dump(home);
    json["preferences"]["MARGIN_PLUS"] = 5;
    c.edit(json);
    const auto before = IniFiles(home);
    const auto result = Apply(home, json);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(IniFiles(home), before);
  }
}

// An input folder in the program folder would have the program print and
// delete its own files.
TEST(SettingsApply, RefusesAnInputFolderInsideTheProgramFolder) {
  test::TempDir dir;
  const fs::path home = ExampleCopy(dir);
  Json json = Dump(home);
  json["inputs"][0]["INPUT_DIR"] = (home / "ERROR").string();
  const auto before = IniFiles(home);
  const auto result = Apply(home, json);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(
      result.err.find("INPUT_DIR: プログラムフォルダ内のフォルダは入力フォルダとして使用できません。 (the "
                      "program folder (" +
                      home.string() + ")"),
      std::string::npos)
      << result.err;
  EXPECT_EQ(IniFiles(home), before);
}

}  // namespace
}  // namespace orvella
