#include "printer/transfer.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "printer/ftp_printer_setup.h"
#include "printer/printer_address.h"
#include "printer/snmp_status.h"
#include "settings/settings_error.h"

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

std::filesystem::path StatusLocalPath(const std::filesystem::path& workFolder) {
  return workFolder / kStatusLocalFile;
}

// Milliseconds of a time-out given in seconds, within what the client takes.
int SecondsToMs(int seconds) { return static_cast<int>(std::clamp<long long>(seconds * 1000LL, 0, INT_MAX)); }

// A printer in panel-off or energy-save mode prints only where both the
// hidden switch and the operator's preference allow it.
std::string JudgedMessage(PrinterStatusCode code, const std::string& errorText,
                          const settings::HiddenSettings& hidden, const StatusPreferences& preferences) {
  switch (code) {
    case PrinterStatusCode::kReady:
      return std::string(kTransferOk);
    case PrinterStatusCode::kFileNotUsable:
      return kStatusParseError;
    case PrinterStatusCode::kNotOnline:
      return kNotOnline;
    case PrinterStatusCode::kPanelOff:
      return hidden.enablePanelOffAndEnergySaveSetting && preferences.enablePanelOff
                 ? std::string(kTransferOk)
                 : kPanelOff;
    case PrinterStatusCode::kEnergySave:
      return hidden.enablePanelOffAndEnergySaveSetting && preferences.enableEnergySave
                 ? std::string(kTransferOk)
                 : kEnergySave;
    case PrinterStatusCode::kPrinterError:
      break;
  }
  return kPrinterErrorPrefix + errorText + ")";
}

class Transfer {
 public:
  Transfer(const settings::PrinterSetting& printer, const std::string& prefix, std::string& message,
           const TransferContext& context)
      : printer_(printer), prefix_(prefix), message_(message), context_(context) {}

  bool Run(const std::filesystem::path& printFile) {
    message_ = kTransferOk;
    if (const auto problem = CheckPrinterAddress(printer_)) return Fail(problem->message);
    std::error_code ec;
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(printFile, ec));
    if (ec) return Fail(kTransferError);
    if (!WaitForMemory(size)) return false;
    FtpClient client;
    SetUpStatusFetch(client, printer_, context_.hidden, context_.folders.work, context_.statTimeoutMs);
    client.progress = [this](int kind, std::int64_t) { return kind == 1 && Stopped() ? 0 : 1; };
    Show(kConnectionCheck);
    if (Stopped() || !CheckSnmp() || !CheckStatus(client)) return false;

    Show(kTransferring);
    if (Stopped()) return false;
    return Upload(client, printFile) || Fail(kTransferError);
  }

 private:
  // Waits until the file fits the printer's free memory, then takes its size.
  // The file is never sent in parts, so one larger than the whole memory fails.
  bool WaitForMemory(std::int64_t size) {
    if (size > Memory().capacity) return Fail(kSizeErrorPrefix + Kilobytes(size) + "kbyte]");
    for (std::int64_t free = Memory().free; free < size; free = Memory().free) {
      Show(kMemoryWait + Kilobytes(free) + "/" + Kilobytes(size));
      if (Stopped()) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(context_.memoryPollMs));
    }
    Show(kMemoryReserved + Kilobytes(context_.memory.Reserve(context_.printerIndex, size)) + "kbyte");
    return true;
  }

  bool CheckSnmp() {
    const std::string address = base::FormatIpv4Address(printer_.ipAddr);
    for (int attempt = 1;; ++attempt) {
      const SnmpStatus status = context_.querySnmp ? context_.querySnmp(address)
                                                   : QueryPrinterStatus(address, context_.snmpTimeoutMs,
                                                                        context_.hidden.printerSnmpPort);
      if (status == SnmpStatus::kNoError) return true;
      message_ = SnmpStatusMessage(status);
      if (attempt > context_.hidden.checkRetry) return false;
      Show(kSnmpRetry + Count(attempt, context_.hidden.checkRetry));
      if (Stopped()) return false;
    }
  }

  bool CheckStatus(FtpClient& client) {
    if (Stopped()) return false;
    for (int attempt = 1;; ++attempt) {
      const StatusFileCheck check =
          context_.checkStatus
              ? context_.checkStatus()
              : CheckStatusFile(client, context_.hidden, context_.preferences, context_.folders);
      message_ = check.message;
      if (check.Final()) return message_ == kTransferOk;
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

  PrinterMemoryEntry Memory() const {
    const auto entry = context_.memory.Entry(context_.printerIndex);
    if (!entry) throw std::out_of_range("no memory entry for printer " + printer_.name);
    return *entry;
  }

  void Show(const std::string& step) const {
    if (context_.showStatus) context_.showStatus(prefix_ + "[" + step + "]");
  }
  bool Stopped() const { return context_.stopRequested && context_.stopRequested(); }
  bool Fail(const std::string& message) {
    message_ = message;
    return false;
  }

  const settings::PrinterSetting& printer_;
  const std::string& prefix_;
  std::string& message_;
  const TransferContext& context_;
};

}  // namespace

bool SendPrintFile(const std::filesystem::path& printFile, const settings::PrinterSetting& printer,
                   const std::string& statusPrefix, std::string& message, const TransferContext& context) {
  try {
    return Transfer(printer, statusPrefix, message, context).Run(printFile);
  } catch (const settings::SettingsError& e) {
    message = e.what();
    return false;
  }
}

void SetUpStatusFetch(FtpClient& client, const settings::PrinterSetting& printer,
                      const settings::HiddenSettings& hidden, const std::filesystem::path& workFolder,
                      int timeoutMs) {
  SetUpForPrinter(client, printer, hidden);
  client.maxAttempts = 0;
  client.retryWait = 1000;
  client.timeout = timeoutMs;
  client.SetRemoteFile(kStatusFile);
  client.SetLocalFile(StatusLocalPath(workFolder).string());
}

StatusFileCheck CheckStatusFile(FtpClient& client, const settings::HiddenSettings& hidden,
                                const StatusPreferences& preferences, const settings::WorkContext& folders) {
  StatusFileCheck check;
  if (!client.GetFile()) {
    check.message = kStatusFetchError;
    return check;
  }
  check.code = JudgeStatusFile(folders.program, StatusLocalPath(folders.work), check.errorText);
  check.message = JudgedMessage(*check.code, check.errorText, hidden, preferences);
  return check;
}

}  // namespace orvella::printer
