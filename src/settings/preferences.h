#pragma once
// Operator preferences (PREFERENCE.INI, section "PREFERENCE"). Nothing is
// cached: every read goes to the file, every write is one key (the three
// NETSEND addresses together).
#include <array>

#include "base/ipv4_address.h"
#include "settings/field_sink.h"

namespace orvella::settings {

// How A0 or A4 data from the wide printer's HDI driver is taken.
enum class HdiDataDirection { kLandscape = 0, kPortrait = 1 };
inline constexpr std::array<KeywordName, 2> kHdiDataDirectionNames{{
    {"LANDSCAPE", "横とみなす"},
    {"PORTRAIT", "縦とみなす"},
}};

inline constexpr int kNetSendPcCount = 3;
using NetSendAddresses = std::array<base::Ipv4Address, kNetSendPcCount>;

// Tolerances around a nominal paper size, whole millimetres (0 to 99).
int GetMarginPlus();
void SetMarginPlus(int mm);
int GetMarginMinus();
void SetMarginMinus(int mm);

bool GetTiffResoProcOnPrinter();
void SetTiffResoProcOnPrinter(bool on);
bool GetModel02Rotation();
void SetModel02Rotation(bool on);

// A value other than the two keywords (exact comparison) reads as LANDSCAPE.
HdiDataDirection GetWideHdiA0DataDirection();
void SetWideHdiA0DataDirection(HdiDataDirection direction);
HdiDataDirection GetWideHdiA4DataDirection();
void SetWideHdiA4DataDirection(HdiDataDirection direction);

bool GetEnablePanelOff();
void SetEnablePanelOff(bool on);
bool GetEnableEnergySave();
void SetEnableEnergySave(bool on);

// Workstations that receive error messages; 0.0.0.0 means none.
NetSendAddresses GetNetSendAddresses();
void SetNetSendAddresses(const NetSendAddresses& addresses);

// Every stored value in key order, read from the file.
void VisitPreferences(FieldSink& sink);

}  // namespace orvella::settings
