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

IniFile PreferenceFile(const std::filesystem::path& program) { return IniFile{program, std::string(kFile)}; }

int ReadInt(const std::filesystem::path& program, std::string_view key, int def) {
  return PreferenceFile(program).ReadInt(kSection, key, def);
}
void WriteInt(const std::filesystem::path& program, std::string_view key, int value) {
  PreferenceFile(program).WriteInt(kSection, key, value);
}
bool ReadFlag(const std::filesystem::path& program, std::string_view key) {
  return PreferenceFile(program).ReadBool(kSection, key, 0) == 1;
}
void WriteFlag(const std::filesystem::path& program, std::string_view key, bool on) {
  PreferenceFile(program).WriteBool(kSection, key, on ? 1 : 0);
}

HdiDataDirection ReadDirection(const std::filesystem::path& program, std::string_view key) {
  return ReadKeyword<HdiDataDirection>(PreferenceFile(program), kSection, key, kHdiDataDirectionNames);
}

void WriteDirection(const std::filesystem::path& program, std::string_view key, HdiDataDirection direction) {
  const auto keyword = KeywordOf(kHdiDataDirectionNames, static_cast<int>(direction));
  PreferenceFile(program).WriteString(kSection, key,
                                      keyword.empty() ? kHdiDataDirectionNames[0].keyword : keyword);
}

}  // namespace

int GetMarginPlus(const std::filesystem::path& program) {
  return ReadInt(program, kMarginPlus, kDefaultMargin);
}
void SetMarginPlus(const std::filesystem::path& program, int mm) { WriteInt(program, kMarginPlus, mm); }
int GetMarginMinus(const std::filesystem::path& program) {
  return ReadInt(program, kMarginMinus, kDefaultMargin);
}
void SetMarginMinus(const std::filesystem::path& program, int mm) { WriteInt(program, kMarginMinus, mm); }

bool GetTiffResoProcOnPrinter(const std::filesystem::path& program) {
  return ReadFlag(program, kTiffResoProc);
}
void SetTiffResoProcOnPrinter(const std::filesystem::path& program, bool on) {
  WriteFlag(program, kTiffResoProc, on);
}
bool GetModel02Rotation(const std::filesystem::path& program) { return ReadFlag(program, kModel02Rotation); }
void SetModel02Rotation(const std::filesystem::path& program, bool on) {
  WriteFlag(program, kModel02Rotation, on);
}

HdiDataDirection GetWideHdiA0DataDirection(const std::filesystem::path& program) {
  return ReadDirection(program, kA0Direction);
}
void SetWideHdiA0DataDirection(const std::filesystem::path& program, HdiDataDirection direction) {
  WriteDirection(program, kA0Direction, direction);
}
HdiDataDirection GetWideHdiA4DataDirection(const std::filesystem::path& program) {
  return ReadDirection(program, kA4Direction);
}
void SetWideHdiA4DataDirection(const std::filesystem::path& program, HdiDataDirection direction) {
  WriteDirection(program, kA4Direction, direction);
}

bool GetEnablePanelOff(const std::filesystem::path& program) { return ReadFlag(program, kPanelOff); }
void SetEnablePanelOff(const std::filesystem::path& program, bool on) { WriteFlag(program, kPanelOff, on); }
bool GetEnableEnergySave(const std::filesystem::path& program) { return ReadFlag(program, kEnergySave); }
void SetEnableEnergySave(const std::filesystem::path& program, bool on) {
  WriteFlag(program, kEnergySave, on);
}

NetSendAddresses GetNetSendAddresses(const std::filesystem::path& program) {
  const IniFile ini = PreferenceFile(program);
  NetSendAddresses addresses{};
  for (size_t i = 0; i < addresses.size(); ++i) {
    addresses[i] = base::ParseIpv4Address(ini.ReadString(kSection, kNetSendKeys[i], "0.0.0.0"));
  }
  return addresses;
}

void SetNetSendAddresses(const std::filesystem::path& program, const NetSendAddresses& addresses) {
  const IniFile file = PreferenceFile(program);
  IniBatch batch(file);
  for (size_t i = 0; i < addresses.size(); ++i) {
    batch.WriteString(kSection, kNetSendKeys[i], base::FormatIpv4Address(addresses[i]));
  }
  batch.Commit();
}

void VisitPreferences(const std::filesystem::path& program, FieldSink& sink) {
  sink.Integer(kMarginPlus, GetMarginPlus(program));
  sink.Integer(kMarginMinus, GetMarginMinus(program));
  sink.Boolean(kTiffResoProc, GetTiffResoProcOnPrinter(program));
  sink.Boolean(kModel02Rotation, GetModel02Rotation(program));
  sink.Keyword(kA0Direction, kHdiDataDirectionNames, GetWideHdiA0DataDirection(program));
  sink.Keyword(kA4Direction, kHdiDataDirectionNames, GetWideHdiA4DataDirection(program));
  sink.Boolean(kPanelOff, GetEnablePanelOff(program));
  sink.Boolean(kEnergySave, GetEnableEnergySave(program));
  const auto addresses = GetNetSendAddresses(program);
  for (size_t i = 0; i < addresses.size(); ++i) sink.Address(kNetSendKeys[i], addresses[i]);
}

}  // namespace orvella::settings
