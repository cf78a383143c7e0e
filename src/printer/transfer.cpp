#include "printer/transfer.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "printer/ftp_printer_setup.h"
#include "printer/printer_address.h"
#include "printer/snmp_status.h"

namespace orvella::printer {
namespace {

constexpr char kStatusFile[] = "stat";
constexpr char kStatusLocalFile[] = "temp.stat";
constexpr char kJobFile[] = "quenbyjob";

// Messages
constexpr char kSizeErrorPrefix[] = "ファイル転送サイズエラー[";
constexpr char kStatusFetchError[] = "プリンタ状態ファイル取得エラー";
constexpr char kStatusParseError[] = "プリンタ状態ファイル解析エラー";
constexpr char kNotOnline[] = "プリンタONLINEの確認エラー";
constexpr char kPrinterErrorPrefix[] = "プリンタエラー(";
constexpr char kPanelOff[] = "パネルがOFFになっています";
constexpr char kEnergySave[] = "省エネモードを解除してください";
constexpr char kTransferError[] = "ファイル転送エラー";

// Steps shown in the status column
constexpr char kMemoryWait[] = "プリンタメモリ回復待機中 ";
constexpr char kMemoryReserved[] = "プリンタメモリ ";
constexpr char kConnectionCheck[] = "接続確認中";
constexpr char kSnmpRetry[] = "接続確認リトライ(SNMP) ";
constexpr char kStatRetry[] = "接続確認リトライ(stat) ";
constexpr char kTransferring[] = "転送";

std::string Kilobytes(std::int64_t bytes) { return std::to_string(bytes / 1024); }

std::string Count(int n, int of) { return std::to_string(n) + "/" + std::to_string(of); }

// Milliseconds of a time-out given in seconds, within what the client takes.
int SecondsToMs(int seconds) { return static_cast<int>(std::clamp<long long>(seconds * 1000LL, 0, INT_MAX)); }

// Why a printer in panel-off or energy-save mode may not print.
std::string ModeRefusal(const settings::HiddenSettings& hidden, const char* preference) {
  if (!hidden.enablePanelOffAndEnergySaveSetting)
    return "printing in this mode is off (ENABLE_PANELOFF_AND_ENERGYSAVE_SETTING in HIDDEN.INI)";
  return std::string("printing in this mode is off (") + preference + " in PREFERENCE.INI)";
}

// The judged state as the operator sees it. A printer in panel-off or
// energy-save mode prints only where both the hidden switch and the
// operator's preference allow it.
base::Failure JudgedOutcome(PrinterStatusCode code, const std::string& errorText, const std::string& judged,
                            const settings::HiddenSettings& hidden, const StatusPreferences& preferences) {
  const base::Failure ready{std::string(kTransferOk), ""};
  switch (code) {
    case PrinterStatusCode::kReady:
      return ready;
    case PrinterStatusCode::kFileNotUsable:
      return {kStatusParseError, judged};
    case PrinterStatusCode::kNotOnline:
      return {kNotOnline, judged};
    case PrinterStatusCode::kPanelOff:
      if (hidden.enablePanelOffAndEnergySaveSetting && preferences.enablePanelOff) return ready;
      return {kPanelOff, judged + "; " + ModeRefusal(hidden, "ENABLE_PANELOFF")};
    case PrinterStatusCode::kEnergySave:
      if (hidden.enablePanelOffAndEnergySaveSetting && preferences.enableEnergySave) return ready;
      return {kEnergySave, judged + "; " + ModeRefusal(hidden, "ENABLE_ENERGYSAVE")};
    case PrinterStatusCode::kPrinterError:
      break;
  }
  return {kPrinterErrorPrefix + errorText + ")", judged};
}

class Transfer {
 public:
  Transfer(const settings::PrinterSetting& printer, const std::string& prefix, base::Failure& outcome,
           const TransferContext& context)
      : printer_(printer), prefix_(prefix), outcome_(outcome), context_(context) {}

  bool Run(const std::filesystem::path& printFile) {
    outcome_ = {std::string(kTransferOk), ""};
    if (const auto problem = CheckPrinterAddress(printer_)) return Fail(problem->message, problem->detail);
    std::error_code ec;
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(printFile, ec));
    if (ec)
      return Fail(kTransferError, "the size of " + printFile.string() + " cannot be read: " + ec.message());
    if (!WaitForMemory(size)) return false;
    FtpClient client;
    SetUpStatusFetch(client, printer_, context_.hidden, context_.timings.statTimeoutMs);
    client.progress = [this](int kind, std::int64_t) { return kind == 1 && Stopped() ? 0 : 1; };
    Show(kConnectionCheck);
    if (Stopped() || !CheckSnmp() || !CheckStatus(client)) return false;

    Show(kTransferring);
    if (Stopped()) return false;
    return Upload(client, printFile) || Fail(kTransferError, context_.upload ? "" : client.Detail());
  }

 private:
  // Waits until the file fits the printer's free memory, then takes its size.
  // The file is never sent in parts, so one larger than the whole memory fails.
  bool WaitForMemory(std::int64_t size) {
    auto entry = Memory();
    if (!entry) return NoMemoryEntry();
    if (size > entry->capacity) {
      return Fail(kSizeErrorPrefix + Kilobytes(size) + "kbyte]",
                  "the print file has " + std::to_string(size) + " bytes; the printer's memory holds " +
                      std::to_string(entry->capacity) + " bytes (MAX_MEM in HIDDEN.INI)");
    }
    for (; entry && entry->free < size; entry = Memory()) {
      Show(kMemoryWait + Kilobytes(entry->free) + "/" + Kilobytes(size));
      if (Stopped()) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(context_.timings.memoryPollMs));
    }
    const auto left = context_.memory.Reserve(context_.printerIndex, size);
    if (!left) return NoMemoryEntry();
    Show(kMemoryReserved + Kilobytes(*left) + "kbyte");
    return true;
  }

  // The printer list and the memory table disagree (the caller's mistake, or
  // a settings change while the job ran).
  bool NoMemoryEntry() {
    return Fail(kTransferError, "printer " + std::to_string(context_.printerIndex) + " (" + printer_.name +
                                    ") has no entry in the printer memory table of " +
                                    std::to_string(context_.memory.Size()) + " printers");
  }

  bool CheckSnmp() {
    const std::string address = base::FormatIpv4Address(printer_.ipAddr);
    for (int attempt = 1;; ++attempt) {
      std::string detail;
      const SnmpStatus status = context_.querySnmp
                                    ? context_.querySnmp(address)
                                    : QueryPrinterStatus(address, context_.timings.snmpTimeoutMs,
                                                         context_.hidden.printerSnmpPort, &detail);
      if (status == SnmpStatus::kNoError) return true;
      outcome_ = {std::string(SnmpStatusMessage(status)), std::move(detail)};
      if (attempt > context_.hidden.checkRetry) return false;
      Show(kSnmpRetry + Count(attempt, context_.hidden.checkRetry));
      if (Stopped()) return false;
    }
  }

  bool CheckStatus(FtpClient& client) {
    if (Stopped()) return false;
    for (int attempt = 1;; ++attempt) {
      StatusFileCheck check = context_.checkStatus ? context_.checkStatus()
                                                   : CheckStatusFile(client, context_.hidden,
                                                                     context_.preferences, context_.folders);
      outcome_ = std::move(check.outcome);
      if (check.Final()) return outcome_.message == kTransferOk;
      if (attempt > context_.hidden.checkRetry) return false;
      Show(kStatRetry + Count(attempt, context_.hidden.checkRetry));
      if (Stopped()) return false;
    }
  }

  bool Upload(FtpClient& client, const std::filesystem::path& printFile) {
    if (context_.upload) return context_.upload(printFile);
    client.SetLocalFile(printFile.string());
    client.SetRemoteFile(kJobFile);
    client.timeout = SecondsToMs(context_.hidden.sendTimeout);
    client.maxAttempts = 0;
    return client.PutFile();
  }

  std::optional<PrinterMemoryEntry> Memory() const { return context_.memory.Entry(context_.printerIndex); }

  void Show(const std::string& step) const {
    if (context_.showStatus) context_.showStatus(prefix_ + "[" + step + "]");
  }
  bool Stopped() const { return context_.stopRequested && context_.stopRequested(); }
  bool Fail(const std::string& message, std::string detail) {
    outcome_ = {message, std::move(detail)};
    return false;
  }

  const settings::PrinterSetting& printer_;
  const std::string& prefix_;
  base::Failure& outcome_;
  const TransferContext& context_;
};

}  // namespace

bool SendPrintFile(const std::filesystem::path& printFile, const settings::PrinterSetting& printer,
                   const std::string& statusPrefix, base::Failure& outcome, const TransferContext& context) {
  try {
    return Transfer(printer, statusPrefix, outcome, context).Run(printFile);
  } catch (const std::exception& e) {  // from the caller's status display or stop request, or out of memory
    outcome = {kTransferError, std::string("the transfer was interrupted: ") + e.what()};
    return false;
  }
}

void SetUpStatusFetch(FtpClient& client, const settings::PrinterSetting& printer,
                      const settings::HiddenSettings& hidden, int timeoutMs) {
  SetUpForPrinter(client, printer, hidden);
  client.maxAttempts = 0;
  client.timeout = timeoutMs;
  client.SetRemoteFile(kStatusFile);
}

StatusFileCheck CheckStatusFile(FtpClient& client, const settings::HiddenSettings& hidden,
                                const StatusPreferences& preferences, const settings::WorkContext& folders) {
  StatusFileCheck check;
  const std::filesystem::path local = folders.work / kStatusLocalFile;
  client.SetLocalFile(local.string());
  if (!client.GetFile()) {
    check.outcome = {kStatusFetchError, client.Detail()};
    return check;
  }
  std::string judged;
  check.code = JudgeStatusFile(folders.program, local, check.errorText, &judged);
  check.outcome = JudgedOutcome(*check.code, check.errorText, judged, hidden, preferences);
  return check;
}

}  // namespace orvella::printer
