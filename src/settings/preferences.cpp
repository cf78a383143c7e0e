#include "settings/preferences.h"

#include "settings/field_source.h"
#include "settings/ini_file.h"
#include "settings/value_field_source.h"

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
constexpr int kDefaultMargin = Preferences{}.marginPlus;

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

// The stored values in key order, for loading (Fields is an IniFieldSource,
// Prefs the defaults), for saving and showing (a FieldSink and a const
// record) and for reading given values (a ValueFieldSource).
template <typename Fields, typename Prefs>
void PreferenceFields(Fields& f, Prefs& p) {
  f.Integer(kMarginPlus, p.marginPlus);
  f.Integer(kMarginMinus, p.marginMinus);
  f.Boolean(kTiffResoProc, p.tiffResoProcOnPrinter);
  f.Boolean(kModel02Rotation, p.model02Rotation);
  f.Keyword(kA0Direction, kHdiDataDirectionNames, p.wideHdiA0DataDirection, HdiDataDirection::kLandscape);
  f.Keyword(kA4Direction, kHdiDataDirectionNames, p.wideHdiA4DataDirection, HdiDataDirection::kLandscape);
  f.Boolean(kPanelOff, p.enablePanelOff);
  f.Boolean(kEnergySave, p.enableEnergySave);
  for (size_t i = 0; i < p.netSendAddresses.size(); ++i) f.Address(kNetSendKeys[i], p.netSendAddresses[i]);
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

Preferences LoadPreferences(const std::filesystem::path& program) {
  const IniSnapshot ini(PreferenceFile(program));
  IniFieldSource source(ini);
  source.SetSection(std::string(kSection));
  Preferences preferences;  // what missing keys read as
  PreferenceFields(source, preferences);
  return preferences;
}

void SavePreferences(const std::filesystem::path& program, const Preferences& preferences) {
  const IniFile file = PreferenceFile(program);
  IniBatch batch(file);
  IniFieldSink sink(batch);
  sink.SetSection(std::string(kSection));
  VisitPreferenceFields(preferences, sink);
  batch.Commit();
}

void VisitPreferences(const std::filesystem::path& program, FieldSink& sink) {
  VisitPreferenceFields(LoadPreferences(program), sink);
}

void VisitPreferenceFields(const Preferences& preferences, FieldSink& sink) {
  PreferenceFields(sink, preferences);
}

std::vector<StoredField> StoredFields(const Preferences& record) {
  StoredFieldList list;
  PreferenceFields(list, record);
  return list.fields;
}

void ReadPreferenceFields(ValueFieldSource& source, Preferences& preferences) {
  PreferenceFields(source, preferences);
}

}  // namespace orvella::settings
