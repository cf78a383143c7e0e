#pragma once
// Delivering one finished print file to one printer: wait until the file fits
// the printer's memory, ask its state over SNMP, fetch and judge its status
// file, and only then upload the file as "quenbyjob". Every step shows its
// progress in the job's status column; every failure leaves one message.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/failure.h"
#include "printer/ftp_client.h"
#include "printer/printer_memory.h"
#include "printer/status_file.h"
#include "settings/hidden_settings.h"
#include "settings/printer_settings.h"

namespace orvella::printer {

// The message of a transfer or check that went through.
inline constexpr std::string_view kTransferOk = "正常";
inline constexpr int kStatusCheckTimeoutMs = 10000;

// What a transfer needs from around it.
struct TransferContext {
  explicit TransferContext(PrinterMemoryTable& table) : memory(table) {}

  PrinterMemoryTable& memory;
  std::size_t printerIndex = 0;     // the printer's position in the printer list: its memory entry
  settings::HiddenSettings hidden;  // CHECK_RETRY, SEND_TIMEOUT, the panel-off switch, the ports
  // The job's status column; every text shown is "in progress".
  std::function<void(const std::string& text)> showStatus;
  // The operator's stop request.
  std::function<bool()> stopRequested;
  // The procedure's fixed waits; tests shorten them.
  int snmpTimeoutMs = 10000;
  int statTimeoutMs = kStatusCheckTimeoutMs;
  int memoryPollMs = 1000;
};

// Sends printFile to the printer. True when the printer accepted the whole
// file; outcome's message then holds "正常". False with the reason and its
// cause in outcome, or, when stop was requested, with whatever was set last.
// A printer index outside the memory table fails with "ファイル転送エラー".
// The file's size stays reserved in the memory table whatever happens after
// the wait. Status texts are statusPrefix followed by the step in brackets.
// PREFERENCE.INI's ENABLE_PANELOFF and ENABLE_ENERGYSAVE are read when the
// printer reports panel-off or energy-save.
bool SendPrintFile(const std::filesystem::path& printFile, const settings::PrinterSetting& printer,
                   const std::string& statusPrefix, base::Failure& outcome, const TransferContext& context);

// The client of a status check: the printer's login and address, remote file
// "stat", one attempt under timeoutMs.
void SetUpStatusFetch(FtpClient& client, const settings::PrinterSetting& printer,
                      const settings::HiddenSettings& hidden, int timeoutMs = kStatusCheckTimeoutMs);

// One status-file check as the transfer makes it.
struct StatusFileCheck {
  std::optional<PrinterStatusCode> code;  // nothing when the file could not be fetched
  std::string errorText;                  // the printer's own text of an error state
  base::Failure outcome;                  // message "正常" when the printer may print, else why not
  // A fetch failure or an unusable file is tried again; a judged state is final.
  bool Final() const { return code && *code != PrinterStatusCode::kFileNotUsable; }
};
// Fetches "stat" with a client set up by SetUpStatusFetch into "temp.stat" of
// the TEMP folder and judges it.
StatusFileCheck CheckStatusFile(FtpClient& client, const settings::HiddenSettings& hidden);

}  // namespace orvella::printer
