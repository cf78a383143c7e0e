// PREFERENCE.INI and HIDDEN.INI: values read key by key with their defaults.
#include <gtest/gtest.h>

#include "settings/app_data.h"
#include "settings/hidden_settings.h"
#include "settings/preferences.h"
#include "settings_home.h"

namespace orvella::settings {
namespace {

TEST(Preferences, DefaultsThenEachValueRoundTrips) {
  test::SettingsHome home;
  EXPECT_EQ(GetMarginPlus(home.Path()), 12);
  EXPECT_EQ(GetMarginMinus(home.Path()), 12);
  EXPECT_FALSE(GetTiffResoProcOnPrinter(home.Path()));
  EXPECT_EQ(GetWideHdiA0DataDirection(home.Path()), HdiDataDirection::kLandscape);
  EXPECT_EQ(GetNetSendAddresses(home.Path()), NetSendAddresses{});

  SetMarginPlus(home.Path(), 0);
  SetMarginMinus(home.Path(), 99);
  SetTiffResoProcOnPrinter(home.Path(), true);
  SetModel02Rotation(home.Path(), true);
  SetWideHdiA0DataDirection(home.Path(), HdiDataDirection::kPortrait);
  SetWideHdiA4DataDirection(home.Path(), HdiDataDirection::kLandscape);
  SetEnablePanelOff(home.Path(), true);
  SetEnableEnergySave(home.Path(), false);
  SetNetSendAddresses(
      home.Path(), {base::Ipv4Address{192, 168, 0, 9}, base::Ipv4Address{}, base::Ipv4Address{10, 0, 0, 1}});

  EXPECT_EQ(GetMarginPlus(home.Path()), 0);
  EXPECT_EQ(GetMarginMinus(home.Path()), 99);
  EXPECT_TRUE(GetTiffResoProcOnPrinter(home.Path()));
  EXPECT_TRUE(GetModel02Rotation(home.Path()));
  EXPECT_EQ(GetWideHdiA0DataDirection(home.Path()), HdiDataDirection::kPortrait);
  EXPECT_EQ(GetWideHdiA4DataDirection(home.Path()), HdiDataDirection::kLandscape);
  EXPECT_TRUE(GetEnablePanelOff(home.Path()));
  EXPECT_FALSE(GetEnableEnergySave(home.Path()));
  EXPECT_EQ(GetNetSendAddresses(home.Path())[0], (base::Ipv4Address{192, 168, 0, 9}));
  EXPECT_EQ(GetNetSendAddresses(home.Path())[2], (base::Ipv4Address{10, 0, 0, 1}));
  const std::string text = home.ReadIni("PREFERENCE.INI");
  EXPECT_NE(text.find("WIDE_HDI_A0DATA_DIRECTION=\"PORTRAIT\""), std::string::npos) << text;
  EXPECT_NE(text.find("NETSEND_PC2_IP_ADDR=\"0.0.0.0\""), std::string::npos) << text;
}

TEST(Preferences, HandEditedValuesThatAreNotKeywordsReadAsDefaults) {
  test::SettingsHome home;
  home.WriteIni(
      "PREFERENCE.INI",
      "[PREFERENCE]\nWIDE_HDI_A4DATA_DIRECTION=\"portrait\"\nWIDE_HDI_A0DATA_DIRECTION=\"PORTRAIT\"\n"
      "NETSEND_PC1_IP_ADDR=\"10.0.0.5\"\nNETSEND_PC2_IP_ADDR=\"経理のPC\"\nMARGIN_PLUS=\"\"\n");
  EXPECT_EQ(GetWideHdiA4DataDirection(home.Path()), HdiDataDirection::kLandscape);
  EXPECT_EQ(GetWideHdiA0DataDirection(home.Path()), HdiDataDirection::kPortrait);
  EXPECT_EQ(GetNetSendAddresses(home.Path()),
            (NetSendAddresses{base::Ipv4Address{10, 0, 0, 5}, base::Ipv4Address{}, base::Ipv4Address{}}));
  EXPECT_EQ(GetMarginPlus(home.Path()), 0);  // present but empty is 0, not the default
}

TEST(HiddenSettings, DefaultsAndHandEditedValues) {
  test::SettingsHome home;
  const HiddenSettings defaults = LoadHiddenSettings(home.Path());
  EXPECT_EQ(defaults.maxMem, 200000);
  EXPECT_EQ(defaults.outPerSec, 200000);
  EXPECT_EQ(defaults.checkRetry, 20);
  EXPECT_EQ(defaults.sendRetry, 3);
  EXPECT_EQ(defaults.sendTimeout, 600);
  EXPECT_EQ(defaults.findInterval, 1);
  EXPECT_EQ(defaults.autopaperPercent, 5);
  EXPECT_EQ(defaults.unfixedAddLen, 0);
  EXPECT_FALSE(defaults.enablePaperSizeB);
  EXPECT_EQ(defaults.printerFtpPort, 21);
  EXPECT_EQ(defaults.printerSnmpPort, 161);

  home.WriteIni("HIDDEN.INI",
                "[APP_DATA]\nMAX_MEM=\"1\"\n"  // another section's key is not ours
                "[SETTING]\nMAX_MEM=\"51200\"\nFIND_INTERVAL=\"3\"\nENABLE_Z_FOLD=\"True\"\n"
                "ENABLE_A4_FOLD=\"yes\"\nENABLE_PAPER_SIZE_B=\"TRUE\"\nUNFIXED_ADD_LEN=\"-5\"\n"
                "PRINTER_FTP_PORT=\"2121\"\nPRINTER_SNMP_PORT=\"70000\"\n");
  const HiddenSettings h = LoadHiddenSettings(home.Path());
  EXPECT_EQ(h.maxMem, 51200);
  EXPECT_EQ(h.findInterval, 3);
  EXPECT_TRUE(h.enableZFold);
  EXPECT_FALSE(h.enableA4Fold);  // not a boolean word: the default
  EXPECT_TRUE(h.enablePaperSizeB);
  EXPECT_EQ(h.unfixedAddLen, -5);
  EXPECT_EQ(h.printerFtpPort, 2121);
  EXPECT_EQ(h.printerSnmpPort, 161);  // no such port
}

TEST(AppData, AutorunAndLastWindow) {
  test::SettingsHome home;
  EXPECT_FALSE(GetAutorun(home.Path()));
  EXPECT_EQ(GetLastMainWindow(home.Path()), kLastWindowFolderSettings);
  SetAutorun(home.Path(), true);
  SetLastMainWindow(home.Path(), kLastWindowJob);
  EXPECT_TRUE(GetAutorun(home.Path()));
  EXPECT_EQ(GetLastMainWindow(home.Path()), kLastWindowJob);
}

TEST(AppData, FileTimeIsTwoHexHalves) {
  EXPECT_EQ(ParseFileTime("0000000100000002"), (uint64_t{1} << 32) + 2);
  EXPECT_EQ(FormatFileTime(uint64_t{466} << 32), "000001D200000000");
  EXPECT_EQ(FormatFileTime(0x01D9A0B1C2D3E4F5), "01D9A0B1C2D3E4F5");
  EXPECT_EQ(ParseFileTime("01d9a0b1c2d3e4f5"), 0x01D9A0B1C2D3E4F5u);
  EXPECT_EQ(ParseFileTime("00000001"), uint64_t{1} << 32);      // low half missing
  EXPECT_EQ(ParseFileTime("0000000X00000002"), 2u);             // malformed high half
  EXPECT_EQ(ParseFileTime("000000010000"), uint64_t{1} << 32);  // short low half
  EXPECT_EQ(ParseFileTime(""), 0u);
}

TEST(AppData, ResumeRecordIsWrittenWholeBesideOtherKeys) {
  test::SettingsHome home;
  home.WriteIni("HIDDEN.INI", "[SETTING]\nMAX_MEM=\"7\"\n[APP_DATA]\nAUTORUN_ON_STARTUP=\"TRUE\"\n");
  EXPECT_EQ(ReadLastProcessFile(home.Path()).path, "");
  LastProcessFile record{"/srv/hot/図面 A-101.tif", 0x01D9A0B1C2D3E4F5, 3, 1};
  WriteLastProcessFile(home.Path(), record);
  const LastProcessFile back = ReadLastProcessFile(home.Path());
  EXPECT_EQ(back.path, record.path);
  EXPECT_EQ(back.time, record.time);
  EXPECT_EQ(back.page, 3);
  EXPECT_EQ(back.qty, 1);
  EXPECT_EQ(home.ReadIni("HIDDEN.INI"),
            "[SETTING]\nMAX_MEM=\"7\"\n[APP_DATA]\nAUTORUN_ON_STARTUP=\"TRUE\"\n"
            "LASTPROCESSFILE_PATH=\"/srv/hot/図面 A-101.tif\"\nLASTPROCESSFILE_PAGE=\"3\"\n"
            "LASTPROCESSFILE_QTY=\"1\"\nLASTPROCESSFILE_TIME=\"01D9A0B1C2D3E4F5\"\n");
  EXPECT_EQ(LoadHiddenSettings(home.Path()).maxMem, 7);
}

}  // namespace
}  // namespace orvella::settings
