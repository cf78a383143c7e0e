#include "settings/printer_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/ipv4_address.h"
#include "settings/settings_error.h"
#include "settings_home.h"

namespace orvella::settings {
namespace {

TEST(PrinterModels, CatalogueRowsAndClasses) {
  ASSERT_EQ(kPrinterModels.size(), 32u);
  for (int n = 0; n < 32; ++n) EXPECT_EQ(PrinterModelInfo(n)->wide, n < 5) << n;
  EXPECT_EQ(PrinterModelInfo(0)->dpi, 400);
  EXPECT_EQ(PrinterModelInfo(0)->highestTray, 12);
  EXPECT_EQ(PrinterModelInfo(3)->displayName, "Model 02");
  EXPECT_EQ(PrinterModelInfo(5)->key, "A2_PRINTERS");
  EXPECT_EQ(PrinterModelInfo(5)->displayName, "");
  EXPECT_EQ(PrinterModelInfo(10)->key, "MODEL_27");
  EXPECT_EQ(PrinterModelInfo(31)->key, "MODEL_06");
  EXPECT_FALSE(PrinterModelInfo(32));
  EXPECT_FALSE(PrinterModelInfo(-1));
  EXPECT_EQ(PrinterModelFromKey("MODEL_01"), 4);
  EXPECT_FALSE(PrinterModelFromKey("model_01"));

  PrinterSetting p;
  EXPECT_TRUE(IsWidePrinter(p));  // a new printer is MODEL_03
  p.model = kA2ModelNumber;
  EXPECT_FALSE(IsWidePrinter(p));
}

// A hand-edited file exercising every load rule.
constexpr std::string_view kHandWritten = R"([GLOBAL]
NUM_PRINTERS="4"
[PRINTER_0]
NAME="製図室 広幅"
IP_ADDR="192.168.10.5"
AUTHENTICATION_MODE="BASIC"
LOGIN_USERNAME="plot"
TRAY1_SIZE="841_ROLL"
TRAY1_TYPE="OTHER"
TRAY2_SIZE="A3YOKO"
TRAY3_SIZE="NO_SUCH_SIZE"
[PRINTER_1]
NAME="old"
IP_ADDR="192.168.10.256"
AUTHENTICATION_MODE="basic"
MODEL="MODEL_27"
A2PRINTER_NAME="ignored"
A2PRINTER_TRAYSTRUCT_AUTO="TRUE"
A2PRINTER_TRAY0_SIZE="B5YOKO"
A2PRINTER_TRAY6_SIZE="A2YOKO"
A2PRINTER_TRAY6_TYPE="OTHER"
[PRINTER_2]
NAME="unknown model"
IP_ADDR="10.0.0"
MODEL="MODEL_99"
A2PRINTER_NAME="kept"
[PRINTER_3]
MODEL="A2_PRINTERS"
A2PRINTER_NAME="Office A3"
)";

TEST(PrinterSettings, LoadsHandWrittenFile) {
  test::SettingsHome home;
  home.WriteIni("PRINTER.INI", kHandWritten);
  const auto list = LoadPrinterSettings(home.Path());
  ASSERT_EQ(list.size(), 4u);

  const auto& wide = list[0];
  EXPECT_EQ(wide.name, "製図室 広幅");
  EXPECT_EQ(wide.ipAddr, (base::Ipv4Address{192, 168, 10, 5}));
  EXPECT_EQ(wide.authenticationMode, AuthenticationMode::kBasic);
  EXPECT_EQ(wide.loginUsername, "plot");
  EXPECT_EQ(wide.loginPassword, "");
  EXPECT_EQ(wide.model, kDefaultModelNumber);  // MODEL missing
  EXPECT_EQ(wide.trays[0].size, WideTraySize::kRoll841);
  EXPECT_EQ(wide.trays[0].type, PaperType::kOther);
  EXPECT_EQ(wide.trays[1].size, WideTraySize::kA3Yoko);
  EXPECT_EQ(wide.trays[2].size, WideTraySize::kNone);  // unknown keyword
  EXPECT_FALSE(wide.a2TrayStructAuto);

  const auto& old = list[1];
  EXPECT_EQ(old.ipAddr, base::Ipv4Address{});
  EXPECT_EQ(old.authenticationMode, AuthenticationMode::kNone);  // exact comparison
  EXPECT_EQ(old.model, kA2ModelNumber);
  EXPECT_EQ(old.a2PrinterName, "Model 27");
  EXPECT_TRUE(old.a2TrayStructAuto);
  EXPECT_EQ(old.a2Trays[0].size, A2TraySize::kB5Yoko);
  EXPECT_EQ(old.a2Trays[6].size, A2TraySize::kA2Yoko);
  EXPECT_EQ(old.a2Trays[6].type, PaperType::kOther);

  EXPECT_EQ(list[2].model, kDefaultModelNumber);
  EXPECT_EQ(list[2].a2PrinterName, "kept");
  EXPECT_EQ(list[2].ipAddr, base::Ipv4Address{});
  EXPECT_EQ(list[3].model, kA2ModelNumber);
  EXPECT_EQ(list[3].a2PrinterName, "Office A3");
}

TEST(PrinterSettings, MissingFileGivesNoPrintersAndUnreadableFileIsAnError) {
  test::SettingsHome home;
  EXPECT_TRUE(LoadPrinterSettings(home.Path()).empty());
  std::filesystem::create_directory(home.Ini("PRINTER.INI"));  // exists, cannot be read as a file
  EXPECT_THROW(LoadPrinterSettings(home.Path()), SettingsError);
}

TEST(PrinterSettings, OldModelKeyIsSavedAsA2ClassWithItsName) {
  test::SettingsHome home;
  home.WriteIni("PRINTER.INI", "[GLOBAL]\nNUM_PRINTERS=\"1\"\n[PRINTER_0]\nNAME=\"p\"\nMODEL=\"MODEL_27\"\n");
  ASSERT_TRUE(SavePrinterSettings(home.Path(), LoadPrinterSettings(home.Path())));
  const std::string text = home.ReadIni("PRINTER.INI");
  EXPECT_NE(text.find("MODEL=\"A2_PRINTERS\"\nA2PRINTER_NAME=\"Model 27\"\n"), std::string::npos) << text;
  EXPECT_EQ(LoadPrinterSettings(home.Path())[0].a2PrinterName, "Model 27");
}

TEST(PrinterSettings, SaveWritesEveryKeyInOrder) {
  test::SettingsHome home;
  PrinterSetting p;
  p.name = "A";
  p.ipAddr = {10, 1, 2, 3};
  p.trays[3] = {WideTraySize::kA4Tate, PaperType::kOther};
  p.a2Trays[6] = {A2TraySize::kB4Tate, PaperType::kPlain};
  ASSERT_TRUE(SavePrinterSettings(home.Path(), {p}));
  std::string text = home.ReadIni("PRINTER.INI");
  // The password is 64 letters even when empty; blank it out to compare the rest.
  const size_t pw = text.find("LOGIN_PASSWORD=\"") + 16;
  ASSERT_EQ(text.find('"', pw), pw + 64);
  text.replace(pw, 64, "*");
  EXPECT_EQ(text,
            "[GLOBAL]\nNUM_PRINTERS=\"1\"\n[PRINTER_0]\nNAME=\"A\"\nIP_ADDR=\"10.1.2.3\"\n"
            "AUTHENTICATION_MODE=\"NONE\"\nLOGIN_USERNAME=\"\"\nLOGIN_PASSWORD=\"*\"\nMODEL=\"MODEL_03\"\n"
            "A2PRINTER_NAME=\"\"\nTRAY1_SIZE=\"NONE\"\nTRAY1_TYPE=\"PLAIN\"\nTRAY2_SIZE=\"NONE\"\nTRAY2_TYPE="
            "\"PLAIN\"\n"
            "TRAY3_SIZE=\"NONE\"\nTRAY3_TYPE=\"PLAIN\"\nTRAY4_SIZE=\"A4TATE\"\nTRAY4_TYPE=\"OTHER\"\n"
            "A2PRINTER_TRAYSTRUCT_AUTO=\"FALSE\"\n"
            "A2PRINTER_TRAY0_SIZE=\"NONE\"\nA2PRINTER_TRAY0_TYPE=\"PLAIN\"\n"
            "A2PRINTER_TRAY1_SIZE=\"NONE\"\nA2PRINTER_TRAY1_TYPE=\"PLAIN\"\n"
            "A2PRINTER_TRAY2_SIZE=\"NONE\"\nA2PRINTER_TRAY2_TYPE=\"PLAIN\"\n"
            "A2PRINTER_TRAY3_SIZE=\"NONE\"\nA2PRINTER_TRAY3_TYPE=\"PLAIN\"\n"
            "A2PRINTER_TRAY4_SIZE=\"NONE\"\nA2PRINTER_TRAY4_TYPE=\"PLAIN\"\n"
            "A2PRINTER_TRAY5_SIZE=\"NONE\"\nA2PRINTER_TRAY5_TYPE=\"PLAIN\"\n"
            "A2PRINTER_TRAY6_SIZE=\"B4TATE\"\nA2PRINTER_TRAY6_TYPE=\"PLAIN\"\n");
}

TEST(PrinterSettings, PasswordsSurviveCutTo32BytesAndTheFileIsPrivate) {
  test::SettingsHome home;
  PrinterSetting longPw, emptyPw, japanesePw;
  longPw.loginPassword = std::string(32, 'a') + "bcdefghi";  // 40 characters
  japanesePw.loginPassword = std::string(31, 'x') + "鍵";    // the cut must not split a character
  ASSERT_TRUE(SavePrinterSettings(home.Path(), {longPw, emptyPw, japanesePw}));
  const auto list = LoadPrinterSettings(home.Path());
  EXPECT_EQ(list[0].loginPassword, std::string(32, 'a'));
  EXPECT_EQ(list[1].loginPassword, "");
  EXPECT_EQ(list[2].loginPassword, std::string(31, 'x'));
  EXPECT_EQ(home.ReadIni("PRINTER.INI").find("bcdefghi"), std::string::npos);

  struct stat st {};
  ASSERT_EQ(stat(home.Ini("PRINTER.INI").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(PrinterSettings, OutOfRangeValueFailsTheSaveAndKeepsTheFile) {
  test::SettingsHome home;
  ASSERT_TRUE(SavePrinterSettings(home.Path(), {PrinterSetting{}}));
  const std::string before = home.ReadIni("PRINTER.INI");
  auto bad = [](auto change) {
    PrinterSetting p;
    change(p);
    return std::vector<PrinterSetting>{PrinterSetting{}, p};
  };
  EXPECT_FALSE(SavePrinterSettings(
      home.Path(), bad([](PrinterSetting& p) { p.model = 6; })));  // old keys are never written
  EXPECT_FALSE(SavePrinterSettings(
      home.Path(), bad([](PrinterSetting& p) { p.authenticationMode = AuthenticationMode{2}; })));
  EXPECT_FALSE(
      SavePrinterSettings(home.Path(), bad([](PrinterSetting& p) { p.trays[1].size = WideTraySize{11}; })));
  EXPECT_FALSE(
      SavePrinterSettings(home.Path(), bad([](PrinterSetting& p) { p.a2Trays[0].type = PaperType{2}; })));
  EXPECT_EQ(home.ReadIni("PRINTER.INI"), before);
}

TEST(PrinterSettings, TextTheFileCannotHoldIsAWriteError) {
  test::SettingsHome home;
  PrinterSetting p;
  p.loginPassword = "pw\xF0\x9F\x98\x80";  // an emoji has no Shift_JIS form
  EXPECT_THROW(SavePrinterSettings(home.Path(), {p}), SettingsError);
  EXPECT_FALSE(std::filesystem::exists(home.Ini("PRINTER.INI")));
}

}  // namespace
}  // namespace orvella::settings
