#include "settings/preferences.h"

#include "settings/ini_file.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kFile = "/INI/PREFERENCE.INI";
constexpr std::string_view kSection = "PREFERENCE";
constexpr std::string_view kMarginPlus = "MARGIN_PLUS";
constexpr std::string_view kMarginMinus = "MARGIN_MINUS";
constexpr std::string_view kTiffResoProc = "TIFFRESOPROC_ON_PRINTER";
constexpr std::string_view kModel02Rotation = "MODEL02_ROTATION";
constexpr std::string_view kA0Direction = "WIDE_HDI_A0DATA_DIRECTION";
constexpr std::string_view kA4Direction = "WIDE_HDI_A4DATA_DIRECTION";
constexpr std::string_view kPanelOff = "ENABLE_PANELOFF";
constexpr std::string_view kEnergySave = "ENABLE_ENERGYSAVE";
constexpr std::array<std::string_view, kNetSendPcCount> kNetSendKeys{
    "NETSEND_PC1_IP_ADDR", "NETSEND_PC2_IP_ADDR", "NETSEND_PC3_IP_ADDR"};
constexpr int kDefaultMargin = 12;

IniFile PreferenceFile() { return IniFile{std::string(kFile)}; }

int ReadInt(std::string_view key, int def) { return PreferenceFile().ReadInt(kSection, key, def); }
void WriteInt(std::string_view key, int value) { PreferenceFile().WriteInt(kSection, key, value); }
bool ReadFlag(std::string_view key) { return PreferenceFile().ReadBool(kSection, key, 0) == 1; }
void WriteFlag(std::string_view key, bool on) { PreferenceFile().WriteBool(kSection, key, on ? 1 : 0); }

HdiDataDirection ReadDirection(std::string_view key) {
  return ReadKeyword<HdiDataDirection>(PreferenceFile(), kSection, key, kHdiDataDirectionNames);
}

void WriteDirection(std::string_view key, HdiDataDirection direction) {
  const auto keyword = KeywordOf(kHdiDataDirectionNames, static_cast<int>(direction));
  PreferenceFile().WriteString(kSection, key, keyword.empty() ? kHdiDataDirectionNames[0].keyword : keyword);
}

}  // namespace

int GetMarginPlus() { return ReadInt(kMarginPlus, kDefaultMargin); }
void SetMarginPlus(int mm) { WriteInt(kMarginPlus, mm); }
int GetMarginMinus() { return ReadInt(kMarginMinus, kDefaultMargin); }
void SetMarginMinus(int mm) { WriteInt(kMarginMinus, mm); }

bool GetTiffResoProcOnPrinter() { return ReadFlag(kTiffResoProc); }
void SetTiffResoProcOnPrinter(bool on) { WriteFlag(kTiffResoProc, on); }
bool GetModel02Rotation() { return ReadFlag(kModel02Rotation); }
void SetModel02Rotation(bool on) { WriteFlag(kModel02Rotation, on); }

HdiDataDirection GetWideHdiA0DataDirection() { return ReadDirection(kA0Direction); }
void SetWideHdiA0DataDirection(HdiDataDirection direction) { WriteDirection(kA0Direction, direction); }
HdiDataDirection GetWideHdiA4DataDirection() { return ReadDirection(kA4Direction); }
void SetWideHdiA4DataDirection(HdiDataDirection direction) { WriteDirection(kA4Direction, direction); }

bool GetEnablePanelOff() { return ReadFlag(kPanelOff); }
void SetEnablePanelOff(bool on) { WriteFlag(kPanelOff, on); }
bool GetEnableEnergySave() { return ReadFlag(kEnergySave); }
void SetEnableEnergySave(bool on) { WriteFlag(kEnergySave, on); }

NetSendAddresses GetNetSendAddresses() {
  const IniFile ini = PreferenceFile();
  NetSendAddresses addresses{};
  for (size_t i = 0; i < addresses.size(); ++i) {
    addresses[i] = base::ParseIpv4Address(ini.ReadString(kSection, kNetSendKeys[i], "0.0.0.0"));
  }
  return addresses;
}

void SetNetSendAddresses(const NetSendAddresses& addresses) {
  const IniFile file = PreferenceFile();
  IniBatch batch(file);
  for (size_t i = 0; i < addresses.size(); ++i) {
    batch.WriteString(kSection, kNetSendKeys[i], base::FormatIpv4Address(addresses[i]));
  }
  batch.Commit();
}

void VisitPreferences(FieldSink& sink) {
  sink.Integer(kMarginPlus, GetMarginPlus());
  sink.Integer(kMarginMinus, GetMarginMinus());
  sink.Boolean(kTiffResoProc, GetTiffResoProcOnPrinter());
  sink.Boolean(kModel02Rotation, GetModel02Rotation());
  sink.Keyword(kA0Direction, kHdiDataDirectionNames, GetWideHdiA0DataDirection());
  sink.Keyword(kA4Direction, kHdiDataDirectionNames, GetWideHdiA4DataDirection());
  sink.Boolean(kPanelOff, GetEnablePanelOff());
  sink.Boolean(kEnergySave, GetEnableEnergySave());
  const auto addresses = GetNetSendAddresses();
  for (size_t i = 0; i < addresses.size(); ++i) sink.Address(kNetSendKeys[i], addresses[i]);
}

}  // namespace orvella::settings
