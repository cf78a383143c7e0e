#pragma once
// The printer check: everything a transfer asks a printer, each question
// once whatever the earlier answer, and whether the printer could print now.
// Nothing is printed. The command line, the status page and the printer list
// each show the same answers in their own way.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/failure.h"
#include "printer/printer_timings.h"
#include "printer/snmp_status.h"
#include "printer/transfer.h"
#include "settings/hidden_settings.h"
#include "settings/printer_settings.h"

namespace orvella::printer {

struct PrinterCheckContext {
  std::filesystem::path program;  // Low_Toner.txt; TEMP for the check's own work folder
  settings::HiddenSettings hidden;
  StatusPreferences preferences;
  PrinterTimings timings;
};

struct SnmpAnswer {
  SnmpStatus status = SnmpStatus::kNoError;
  std::string detail;  // the cause, for any status but kNoError
};

struct TrayAnswer {
  std::vector<settings::A2Tray> trays;   // tray 1 up to the model's highest; none when not read
  std::optional<base::Failure> failure;  // why the information file gave no trays
};

struct PrinterCheck {
  std::string printer;  // the printer's name
  std::string address;  // dotted IPv4
  // Why the printer was not asked at all: an unusable address (it is never
  // contacted) or no work folder for the fetched files.
  std::optional<base::Failure> notAsked;
  SnmpAnswer snmp;
  StatusFileCheck stat;
  // Asked only of an A2-or-smaller printer with automatic trays.
  std::optional<TrayAnswer> trays;

  // The verdict: every question asked and answered as a transfer needs.
  bool Fit() const;
};

// Asks the printer. The SNMP library has been started (process set-up).
// Bounded by the time-outs: one SNMP query, one fetch of "stat" and up to
// CHECK_RETRY + 1 fetches of "info". Never throws but for want of memory.
PrinterCheck CheckPrinter(const settings::PrinterSetting& printer, const PrinterCheckContext& context);

// The operator's PREFERENCE.INI choices the status judgement follows.
StatusPreferences ReadStatusPreferences(const std::filesystem::path& program);

// The context of a check from the program folder's HIDDEN.INI and
// PREFERENCE.INI, with the usual timings. Throws settings::SettingsError, as
// every settings reader does, when a file cannot be read.
PrinterCheckContext LoadPrinterCheckContext(const std::filesystem::path& program);

}  // namespace orvella::printer
