#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/text_codec.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"
#include "settings/stamp_settings.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

using Json = nlohmann::json;

test::ProcessResult Dump(const std::filesystem::path& home, std::vector<std::string> extra = {}) {
  std::vector<std::string> args{"--home", home.string(), "settings", "dump"};
  args.insert(args.end(), extra.begin(), extra.end());
  return test::RunProcess(test::BinaryPath("orvella"), args);
}

void WriteCp932(const std::filesystem::path& path, std::string_view utf8) {
  std::string crlf;
  for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  test::WriteFileBytes(path, base::Utf8ToCp932(crlf).value());
}

test::ProcessResult Check(const std::filesystem::path& home) {
  return test::RunProcess(test::BinaryPath("orvella"), {"--home", home.string(), "settings", "check"});
}

// A PRINTER.INI written or copied by hand has the mode the umask gave it.
void PrivatePrinterFile(const std::filesystem::path& home) {
  ASSERT_EQ(::chmod((home / "INI/PRINTER.INI").c_str(), 0600), 0);
}

// What loading passes over silently is reported: a file saved as UTF-8 by an
// editor, and a printer whose address did not read.
TEST(SettingsCheck, ReportsUtf8FilesAndUnusablePrinterAddresses) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "INI");
  WriteCp932(dir / "INI/INPUT.INI",
             "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"" + dir.Path().string() + "\"\n");
  ASSERT_EQ(Check(dir.Path()).exitCode, 0);
  EXPECT_EQ(Json::parse(Check(dir.Path()).out),
            (Json{{"ok", true}, {"problems", Json::array()}, {"start", nullptr}}));

  test::WriteFileBytes(dir / "INI/STAMP.INI",
                       "[GLOBAL]\r\nNUM_STAMPS=\"1\"\r\n[STAMP_0]\r\nNAME=\"検図\"\r\n");
  WriteCp932(dir / "INI/PRINTER.INI",
             "[GLOBAL]\nNUM_PRINTERS=\"2\"\n[PRINTER_0]\nNAME=\"製図室\"\nIP_ADDR=\"192.168.1.300\"\n"
             "[PRINTER_1]\nNAME=\"事務所\"\nIP_ADDR=\"127.0.0.1\"\n");
  PrivatePrinterFile(dir.Path());
  const auto result = Check(dir.Path());
  EXPECT_EQ(result.exitCode, 1);
  const Json json = Json::parse(result.out);
  EXPECT_EQ(json["ok"], false);
  ASSERT_EQ(json["problems"].size(), 2u) << result.out;
  EXPECT_EQ(json["problems"][0]["file"], "INI/STAMP.INI");
  EXPECT_NE(json["problems"][0]["detail"].get<std::string>().find("UTF-8"), std::string::npos);
  EXPECT_EQ(json["problems"][1]["file"], "INI/PRINTER.INI");
  EXPECT_EQ(json["problems"][1]["record"], "製図室");
  EXPECT_EQ(json["problems"][1]["field"], "IP_ADDR");

  const auto dump = Dump(dir.Path());
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_NE(dump.err.find("warning: INI/STAMP.INI"), std::string::npos) << dump.err;
}

// The checks the start of operation makes: the example folder would start,
// though its hot folder does not exist here (which stops nothing); with its
// fold settings gone the fold is named as the operator would see it.
TEST(SettingsCheck, SaysWhyOperationWouldNotStart) {
  test::TempDir dir;
  std::filesystem::copy(ORVELLA_EXAMPLES "/program-folder", dir / "home",
                        std::filesystem::copy_options::recursive);
  const Json missingHotFolder = {
      {"file", "INI/INPUT.INI"},
      {"record", "/srv/orvella/hot/drawings"},
      {"field", "INPUT_DIR"},
      {"detail",
       "the input folder does not exist, so no file is taken from it; operation starts all the same and "
       "takes its files once it can read it"}};
  PrivatePrinterFile(dir / "home");
  const auto fine = Check(dir / "home");
  EXPECT_EQ(fine.exitCode, 1) << fine.out;
  EXPECT_EQ(Json::parse(fine.out)["problems"], Json::array({missingHotFolder})) << fine.out;
  EXPECT_EQ(Json::parse(fine.out)["start"], nullptr);

  std::filesystem::remove(dir / "home/INI/FOLD.INI");
  const auto result = Check(dir / "home");
  EXPECT_EQ(result.exitCode, 1);
  const Json json = Json::parse(result.out);
  EXPECT_EQ(json["ok"], false);
  EXPECT_EQ(json["problems"], Json::array({missingHotFolder}));
  EXPECT_EQ(json["start"]["message"],
            "入力設定 /srv/orvella/hot/drawings にある紙折設定 長尺折り が見つからないため実行できません。");
  EXPECT_NE(json["start"]["detail"].get<std::string>().find("FOLD.INI"), std::string::npos);
}

// Each input folder the scan cannot read is named, whatever is wrong with it;
// a readable one is not.
TEST(SettingsCheck, ListsInputFoldersTheScanCannotRead) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "INI");
  std::filesystem::create_directories(dir / "hot");
  test::WriteFileBytes(dir / "plain-file", "");
  const std::string folders[] = {(dir / "hot").string(), (dir / "gone").string(),
                                 (dir / "plain-file").string()};
  std::string ini = "[GLOBAL]\nNUM_INPUTS=\"3\"\n";
  for (int i = 0; i < 3; ++i) ini += "[INPUT_" + std::to_string(i) + "]\nINPUT_DIR=\"" + folders[i] + "\"\n";
  WriteCp932(dir / "INI/INPUT.INI", ini);
  const auto result = Check(dir.Path());
  EXPECT_EQ(result.exitCode, 1);
  const Json problems = Json::parse(result.out)["problems"];
  ASSERT_EQ(problems.size(), 2u) << result.out;
  EXPECT_EQ(problems[0]["record"], folders[1]);
  EXPECT_EQ(problems[0]["field"], "INPUT_DIR");
  EXPECT_NE(problems[0]["detail"].get<std::string>().find("does not exist"), std::string::npos);
  EXPECT_EQ(problems[1]["record"], folders[2]);
  EXPECT_NE(problems[1]["detail"].get<std::string>().find("is not a folder"), std::string::npos);
}

// The resume record of a file HIDDEN.INI cannot name lives in a file beside
// it; the dump shows it as the record, and the check finds nothing wrong.
TEST(SettingsDump, ShowsAResumeRecordKeptBesideHiddenIni) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "INI");
  test::WriteFileBytes(dir / "INI/LASTPROCESSFILE.txt",
                       "PATH=/srv/hot/plan😀\\\\x\\xFF.tif\nPAGE=2\nQTY=1\nTIME=000001D200000000\n");
  const auto dump = Dump(dir.Path());
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  const Json appData = Json::parse(dump.out)["app_data"];
  EXPECT_EQ(appData["LASTPROCESSFILE_PATH"],
            "/srv/hot/plan😀\\x\xEF\xBF\xBD.tif");  // the byte FF shown as U+FFFD
  EXPECT_EQ(appData["LASTPROCESSFILE_PAGE"], 2);
  EXPECT_EQ(appData["LASTPROCESSFILE_TIME"], "000001D200000000");
  const auto check = Check(dir.Path());
  EXPECT_EQ(Json::parse(check.out)["problems"], Json::array()) << check.out;
}

// PRINTER.INI open to anyone but its owner is a problem: the passwords in it
// are recovered by whoever reads it.
TEST(SettingsCheck, WarnsWhileOthersCanReachPrinterIni) {
  test::TempDir dir;
  settings::CreateApplicationFolders(dir.Path());
  settings::PrinterSetting printer;
  printer.ipAddr = {127, 0, 0, 1};
  printer.loginPassword = "secret";
  ASSERT_TRUE(settings::SavePrinterSettings(dir.Path(), {printer}));
  const std::filesystem::path file = dir / "INI/PRINTER.INI";
  for (const mode_t mode : {0644, 0640, 0604, 0620, 0600, 0400}) {
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    const auto result = Check(dir.Path());
    const Json problems = Json::parse(result.out)["problems"];
    if ((mode & 077) == 0) {
      EXPECT_EQ(problems, Json::array()) << std::oct << mode;
      continue;
    }
    EXPECT_EQ(result.exitCode, 1);
    ASSERT_EQ(problems.size(), 1u) << std::oct << mode << result.out;
    EXPECT_EQ(problems[0]["file"], "INI/PRINTER.INI");
    EXPECT_EQ(problems[0]["record"], "");
    char shown[16];
    std::snprintf(shown, sizeof shown, "%04o", static_cast<unsigned>(mode));
    const std::string detail = problems[0]["detail"];
    EXPECT_NE(detail.find(std::string("mode is ") + shown), std::string::npos) << detail;
    EXPECT_NE(detail.find("recover the printers' passwords"), std::string::npos) << detail;
  }
}

// A program folder not used yet: no INI folder at all.
TEST(SettingsDump, MissingFolderGivesAllDefaults) {
  test::TempDir dir;
  const auto result = Dump(dir.Path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const Json dump = Json::parse(result.out);
  EXPECT_EQ(dump["inputs"], Json::array());
  EXPECT_EQ(dump["printers"], Json::array());
  EXPECT_EQ(dump["folds"], Json::array());
  EXPECT_EQ(dump["stamps"], Json::array());
  ASSERT_EQ(dump["folder_models"].size(), 1u);
  EXPECT_EQ(dump["folder_models"][0]["NAME"], "Folder FLD2");
  EXPECT_EQ(dump["folder_models"][0]["A3TATE"], Json({0, 15, 16, 17, 18, 19}));
  EXPECT_EQ(dump["preferences"]["MARGIN_PLUS"], 12);
  EXPECT_EQ(dump["preferences"]["NETSEND_PC3_IP_ADDR"], "0.0.0.0");
  EXPECT_EQ(dump["hidden"]["SEND_TIMEOUT"], 600);
  EXPECT_EQ(dump["hidden"]["PRINTER_SNMP_PORT"], 161);
  EXPECT_EQ(dump["app_data"]["LAST_MAIN_WINDOW"], 2);
  EXPECT_EQ(dump["app_data"]["LASTPROCESSFILE_TIME"], "0000000000000000");
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));  // a dump writes nothing, not even the folders
}

TEST(SettingsDump, HandWrittenCp932Folder) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "INI");
  // The password is written by the program's own cipher, as a saved file would hold it.
  settings::PrinterSetting printer;
  printer.name = "製図室";
  printer.loginPassword = "秘密pw";
  ASSERT_TRUE(settings::SavePrinterSettings(dir.Path(), {printer}));
  const std::string saved = base::Cp932ToUtf8(test::ReadFileBytes(dir / "INI/PRINTER.INI"));
  const size_t pw = saved.find("LOGIN_PASSWORD=\"") + 16;
  const std::string cipherText = saved.substr(pw, 64);

  WriteCp932(dir / "INI/PRINTER.INI",
             "[GLOBAL]\nNUM_PRINTERS=\"2\"\n"
             "[PRINTER_0]\nNAME=\"製図室\"\nIP_ADDR=\"192.168.1.30\"\nAUTHENTICATION_MODE=\"BASIC\"\n"
             "LOGIN_PASSWORD=\"" +
                 cipherText +
                 "\"\nMODEL=\"MODEL_05\"\nTRAY1_SIZE=\"594_ROLL\"\n"
                 "[PRINTER_1]\nNAME=\"事務所\"\nMODEL=\"MODEL_27\"\nA2PRINTER_TRAY0_SIZE=\"A3TATE\"\n");
  WriteCp932(
      dir / "INI/INPUT.INI",
      "[GLOBAL]\nNUM_INPUTS=\"1\"\n[INPUT_0]\nINPUT_DIR=\"/srv/入力/A\"\nWIDE_PRINTER_NAME=\"製図室\"\n"
      "OUTPUT_SETTING_A3=\"A4\"\nOUTPUT_SETTING_A3_MAG=\"70.7\"\nOUTPUT_SETTING_A3_ROT=\"180\"\n"
      "A2OPTION_STAPLE=\"TOP2\"\nAUTO_ROTATE=\"FALSE\"\n");
  WriteCp932(dir / "INI/FOLD.INI",
             "[GLOBAL]\nNUM_FOLDS=\"1\"\n[FOLD_0]\nNAME=\"ファイル折り\"\nMODEL=\"FLD1\"\n"
             "A1YOKO_FOLDTYPE=\"FILEREV\"\nA1YOKO_FOLDMARGIN=\"30\"\n");
  WriteCp932(dir / "INI/PREFERENCE.INI",
             "[PREFERENCE]\nMARGIN_MINUS=\"5\"\nWIDE_HDI_A4DATA_DIRECTION=\"PORTRAIT\"\n");
  WriteCp932(
      dir / "INI/HIDDEN.INI",
      "[SETTING]\nFIND_INTERVAL=\"2\"\nENABLE_Z_FOLD=\"TRUE\"\n"
      "[APP_DATA]\nLASTPROCESSFILE_PATH=\"/srv/入力/a.tif\"\nLASTPROCESSFILE_TIME=\"0000000100000002\"\n");

  auto result = Dump(dir.Path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  Json dump = Json::parse(result.out);
  ASSERT_EQ(dump["inputs"].size(), 1u);
  const Json& input = dump["inputs"][0];
  EXPECT_EQ(input["INPUT_DIR"], "/srv/入力/A");
  EXPECT_EQ(input["WIDE_PRINTER_NAME"], "製図室");
  EXPECT_EQ(input["OUTPUT_SETTING_A3"], 4);
  EXPECT_EQ(input["OUTPUT_SETTING_A3_MAG"], 70.7);
  EXPECT_EQ(input["OUTPUT_SETTING_A3_ROT"], 3);
  EXPECT_EQ(input["OUTPUT_SETTING_B5"], 5);  // missing: MAG
  EXPECT_EQ(input["A2OPTION_STAPLE"], 5);
  EXPECT_EQ(input["AUTO_ROTATE"], 0);
  EXPECT_EQ(input["QTY"], 1);
  ASSERT_EQ(dump["printers"].size(), 2u);
  const Json& wide = dump["printers"][0];
  EXPECT_EQ(wide["NAME"], "製図室");
  EXPECT_EQ(wide["IP_ADDR"], "192.168.1.30");
  EXPECT_EQ(wide["AUTHENTICATION_MODE"], 1);
  EXPECT_EQ(wide["MODEL"], 0);
  EXPECT_EQ(wide["TRAY1_SIZE"], 4);
  EXPECT_EQ(wide["A2PRINTER_TRAYSTRUCT_AUTO"], 0);
  EXPECT_FALSE(wide.contains("LOGIN_PASSWORD"));
  EXPECT_EQ(dump["printers"][1]["MODEL"], 5);
  EXPECT_EQ(dump["printers"][1]["A2PRINTER_NAME"], "Model 27");
  EXPECT_EQ(dump["printers"][1]["A2PRINTER_TRAY0_SIZE"], 2);
  EXPECT_EQ(dump["folds"][0]["NAME"], "ファイル折り");
  EXPECT_EQ(dump["folds"][0]["MODEL"], 1);
  EXPECT_EQ(dump["folds"][0]["A1YOKO_FOLDTYPE"], 5);
  EXPECT_EQ(dump["folds"][0]["A1YOKO_FOLDMARGIN"], 30);
  EXPECT_EQ(dump["preferences"]["MARGIN_MINUS"], 5);
  EXPECT_EQ(dump["preferences"]["WIDE_HDI_A4DATA_DIRECTION"], 1);
  EXPECT_EQ(dump["hidden"]["FIND_INTERVAL"], 2);
  EXPECT_EQ(dump["hidden"]["ENABLE_Z_FOLD"], 1);
  EXPECT_EQ(dump["app_data"]["LASTPROCESSFILE_PATH"], "/srv/入力/a.tif");
  EXPECT_EQ(dump["app_data"]["LASTPROCESSFILE_TIME"], "0000000100000002");

  result = Dump(dir.Path(), {"--show-secrets"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  dump = Json::parse(result.out);
  EXPECT_EQ(dump["printers"][0]["LOGIN_PASSWORD"], "秘密pw");
  EXPECT_EQ(dump["printers"][1]["LOGIN_PASSWORD"], "");
}

TEST(SettingsDump, StampsWithTheirFontRecord) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "INI");
  settings::StampSetting stamp = settings::NewStamp();
  stamp.name = "検図";
  stamp.corner = settings::StampCorner::kLowerLeft;
  stamp.type = settings::StampType::kSimple;
  stamp.fourthRow = true;
  stamp.rowTexts[0] = "設計";
  settings::SaveStamps(dir.Path(), {stamp});

  const auto result = Dump(dir.Path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const Json stamps = Json::parse(result.out)["stamps"];
  ASSERT_EQ(stamps.size(), 1u);
  EXPECT_EQ(stamps[0]["NAME"], "検図");
  EXPECT_EQ(stamps[0]["CORNER"], 2);
  EXPECT_EQ(stamps[0]["TYPE"], 2);
  EXPECT_EQ(stamps[0]["DATE_TYPE"], 1);
  EXPECT_EQ(stamps[0]["ENABLE_ROW4"], 1);
  EXPECT_EQ(stamps[0]["ROW1_TEXT"], "設計");
  EXPECT_EQ(stamps[0]["FONT"], Json({{"height", -13},
                                     {"width", 0},
                                     {"escapement", 0},
                                     {"orientation", 0},
                                     {"weight", 400},
                                     {"italic", 0},
                                     {"underline", 0},
                                     {"strike_out", 0},
                                     {"char_set", 128},
                                     {"out_precision", 0},
                                     {"clip_precision", 0},
                                     {"quality", 2},
                                     {"pitch_and_family", 49},
                                     {"face_name", "ＭＳ Ｐゴシック"}}));
  EXPECT_EQ(stamps[0]["FONT_POINT"], 10);
}

TEST(SettingsDump, ProblemsGoToStderrWithExitStatus1) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "INI/PRINTER.INI");  // not a readable file
  auto result = Dump(dir.Path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("INIファイルの読み込みに失敗しました。"), std::string::npos) << result.err;

  std::filesystem::remove(dir / "INI/PRINTER.INI");
  WriteCp932(dir / "INI/FOLD.INI",
             "[GLOBAL]\nNUM_FOLDS=\"2\"\n[FOLD_0]\nNAME=\"a\"\n[FOLD_1]\nA0TATE_FOLDTYPE=\"BOGUS\"\n");
  result = Dump(dir.Path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("FOLD.INI"), std::string::npos) << result.err;
  EXPECT_EQ(Json::parse(result.out)["folds"].size(), 1u);  // what was understood is still shown

  result = Dump(dir.Path(), {"extra"});
  EXPECT_EQ(result.exitCode, 2);
}

}  // namespace
}  // namespace orvella
