#pragma once
// Tuning values of HIDDEN.INI, section "SETTING": edited by hand, shown in no
// dialog, never written by the program.
#include <filesystem>
#include <string_view>

#include "settings/field_sink.h"

namespace orvella::settings {

// The file, under the program folder; the program's own state is kept in it
// too (app_data.h).
inline constexpr std::string_view kHiddenIniFile = "/INI/HIDDEN.INI";

struct HiddenSettings {
  int maxMem = 200000;     // printer memory allowance, kilobytes
  int outPerSec = 200000;  // replenishment of the allowance, kilobytes per second
  int checkRetry = 20;     // connection checks before a transfer gives up
  int sendRetry = 3;
  int sendTimeout = 600;  // seconds per transfer
  bool enablePanelOffAndEnergySaveSetting = false;
  bool enableUnsupportedGl = false;  // take unknown files as HP-GL/2
  int findInterval = 1;              // timer ticks between folder scans
  // Seconds a file's size and time must stay unchanged before it is taken;
  // 0: taken at once where a lease shows nobody has it open.
  int fileQuietSeconds = 3;
  bool tiffErrorPrint = false;
  int unfixedAddLen = 0;  // mm added to a roll page's cut length
  bool enableA4Fold = false;
  bool enableZFold = false;
  int autopaperPercent = 5;
  bool enablePaperSizeB = false;
  // Printer ports; other values serve simulators run without root.
  int printerFtpPort = 21;
  int printerSnmpPort = 161;
};

// All values, defaults for missing keys or file. A port outside 1 to 65535
// reads as its default. Raises SettingsError when the file exists but cannot
// be read.
HiddenSettings LoadHiddenSettings(const std::filesystem::path& program);

// The values under their keys, in file order.
void VisitHiddenSettings(const HiddenSettings& hidden, FieldSink& sink);

}  // namespace orvella::settings
