#pragma once
// The fixed waits of every exchange with a printer, in milliseconds; tests
// shorten them.

namespace orvella::printer {

// How long a printer has to answer one SNMP state query or one fetch of its
// status or information file.
inline constexpr int kPrinterAnswerTimeoutMs = 10000;
// The pause before a further FTP attempt where a fetch or upload allows one.
inline constexpr int kPrinterRetryWaitMs = 1000;

struct PrinterTimings {
  int snmpTimeoutMs = kPrinterAnswerTimeoutMs;  // one SNMP state query
  int statTimeoutMs = kPrinterAnswerTimeoutMs;  // one fetch of "stat"
  int memoryPollMs = 1000;                      // between looks at the printer's free memory
};

}  // namespace orvella::printer
