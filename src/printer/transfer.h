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
#include "printer/printer_timings.h"
#include "printer/snmp_status.h"
#include "printer/status_file.h"
#include "settings/hidden_settings.h"
#include "settings/printer_settings.h"
#include "settings/work_folder.h"

namespace orvella::printer {

// The message of a transfer or check that went through.
inline constexpr std::string_view kTransferOk = "正常";

// The operator's choices (PREFERENCE.INI) that the status judgement follows;
// the caller reads them (ReadStatusPreferences).
struct StatusPreferences {
  bool enablePanelOff = false;
  bool enableEnergySave = false;
};

// One status-file check as the transfer makes it.
struct StatusFileCheck {
  std::optional<PrinterStatusCode> code;  // nothing when the file could not be fetched
  std::string errorText;                  // the printer's own text of an error state
  base::Failure outcome;                  // message "正常" when the printer may print, else why not
  // A fetch failure or an unusable file is tried again; a judged state is final.
  bool Final() const { return code && *code != PrinterStatusCode::kFileNotUsable; }
};

// What a transfer needs from around it.
struct TransferContext {
  explicit TransferContext(PrinterMemoryTable& table) : memory(table) {}

  PrinterMemoryTable& memory;
  std::size_t printerIndex = 0;     // the printer's position in the printer list: its memory entry
  settings::HiddenSettings hidden;  // CHECK_RETRY, SEND_TIMEOUT, the panel-off switch, the ports
  StatusPreferences preferences;
  settings::WorkContext folders;  // Low_Toner.txt of the program folder; temp.stat in the work folder
  // The job's status column; every text shown is "in progress".
  std::function<void(const std::string& text)> showStatus;
  // The operator's stop request.
  std::function<bool()> stopRequested;
  PrinterTimings timings;
  // Where the procedure meets the printer; left empty, the real SNMP query,
  // status-file fetch and upload are made. Tests put their own in.
  std::function<SnmpStatus(const std::string& address)> querySnmp;
  std::function<StatusFileCheck()> checkStatus;
  std::function<bool(const std::filesystem::path& printFile)> upload;
};

// Sends printFile to the printer. True when the printer accepted the whole
// file; outcome's message then holds "正常". False with the reason and its
// cause in outcome, or, when stop was requested, with whatever was set last.
// A printer whose address is not a unicast IPv4 address fails at once with
// "プリンタIPアドレスエラー[<name>]", and a printer index outside the memory
// table with "ファイル転送エラー", before any traffic. The file's size stays
// reserved in the memory table whatever happens after the wait. Status texts
// are statusPrefix followed by the step in brackets. The printer may print in
// panel-off or energy-save mode only where HIDDEN.INI's switch and the
// context's preferences allow it.
bool SendPrintFile(const std::filesystem::path& printFile, const settings::PrinterSetting& printer,
                   const std::string& statusPrefix, base::Failure& outcome, const TransferContext& context);

// The client of a status check: the printer's login and address, remote file
// "stat", one attempt under timeoutMs.
void SetUpStatusFetch(FtpClient& client, const settings::PrinterSetting& printer,
                      const settings::HiddenSettings& hidden, int timeoutMs);

// Fetches "stat" with a client set up by SetUpStatusFetch into "temp.stat" of
// the work folder and judges it with the Low_Toner.txt of the program folder.
StatusFileCheck CheckStatusFile(FtpClient& client, const settings::HiddenSettings& hidden,
                                const StatusPreferences& preferences, const settings::WorkContext& folders);

}  // namespace orvella::printer
