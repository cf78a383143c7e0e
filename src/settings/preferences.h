#pragma once
// Operator preferences (PREFERENCE.INI, section "PREFERENCE"). Nothing is
// cached: every read goes to the file, every write is one key (the three
// NETSEND addresses together).
#include <array>
#include <filesystem>

#include "base/ipv4_address.h"
#include "settings/field_key.h"
#include "settings/field_sink.h"

namespace orvella::settings {

class ValueFieldSource;

// How A0 or A4 data from the wide printer's HDI driver is taken.
enum class HdiDataDirection { kLandscape = 0, kPortrait = 1 };
inline constexpr std::array<KeywordName, 2> kHdiDataDirectionNames{{
    {"LANDSCAPE", "横とみなす"},
    {"PORTRAIT", "縦とみなす"},
}};

inline constexpr int kNetSendPcCount = 3;
using NetSendAddresses = std::array<base::Ipv4Address, kNetSendPcCount>;

// Tolerances around a nominal paper size, whole millimetres (0 to 99).
int GetMarginPlus(const std::filesystem::path& program);
void SetMarginPlus(const std::filesystem::path& program, int mm);
int GetMarginMinus(const std::filesystem::path& program);
void SetMarginMinus(const std::filesystem::path& program, int mm);

bool GetTiffResoProcOnPrinter(const std::filesystem::path& program);
void SetTiffResoProcOnPrinter(const std::filesystem::path& program, bool on);
bool GetModel02Rotation(const std::filesystem::path& program);
void SetModel02Rotation(const std::filesystem::path& program, bool on);

// A value other than the two keywords (exact comparison) reads as LANDSCAPE.
HdiDataDirection GetWideHdiA0DataDirection(const std::filesystem::path& program);
void SetWideHdiA0DataDirection(const std::filesystem::path& program, HdiDataDirection direction);
HdiDataDirection GetWideHdiA4DataDirection(const std::filesystem::path& program);
void SetWideHdiA4DataDirection(const std::filesystem::path& program, HdiDataDirection direction);

bool GetEnablePanelOff(const std::filesystem::path& program);
void SetEnablePanelOff(const std::filesystem::path& program, bool on);
bool GetEnableEnergySave(const std::filesystem::path& program);
void SetEnableEnergySave(const std::filesystem::path& program, bool on);

// Workstations that receive error messages; 0.0.0.0 means none.
NetSendAddresses GetNetSendAddresses(const std::filesystem::path& program);
void SetNetSendAddresses(const std::filesystem::path& program, const NetSendAddresses& addresses);

// Every value at once; the getters above read one key each.
struct Preferences {
  int marginPlus = 12;
  int marginMinus = 12;
  bool tiffResoProcOnPrinter = false;
  bool model02Rotation = false;
  HdiDataDirection wideHdiA0DataDirection = HdiDataDirection::kLandscape;
  HdiDataDirection wideHdiA4DataDirection = HdiDataDirection::kLandscape;
  bool enablePanelOff = false;
  bool enableEnergySave = false;
  NetSendAddresses netSendAddresses{};

  bool operator==(const Preferences&) const = default;
};
inline constexpr int kMarginMin = 0, kMarginMax = 99;  // what the preference dialog allows

Preferences LoadPreferences(const std::filesystem::path& program);
// Writes every key in one replacement of the file; other keys stay.
void SavePreferences(const std::filesystem::path& program, const Preferences& preferences);

// Every stored value in key order, read from the file.
void VisitPreferences(const std::filesystem::path& program, FieldSink& sink);
// The values in key order.
void VisitPreferenceFields(const Preferences& preferences, FieldSink& sink);
// The stored fields of record with their members (field_key.h).
std::vector<StoredField> StoredFields(const Preferences& record);
// Reads the values from given values; see ValueFieldSource.
void ReadPreferenceFields(ValueFieldSource& source, Preferences& preferences);

}  // namespace orvella::settings
