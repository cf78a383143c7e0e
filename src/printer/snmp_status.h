#pragma once
// The printer's detected error state, asked over SNMP v1 before every upload.
#include <string>
#include <string_view>

namespace orvella::printer {

enum class SnmpStatus : int {
  kNoError = 0,           // answered; no serious error bit set
  kErrorState = 1,        // answered; at least one serious error bit set
  kApiFailure = 2,        // the SNMP library failed
  kNoAnswer = 3,          // unknown host, time-out or transport error
  kUnexpectedAnswer = 4,  // answered, but not with the expected value
};

inline constexpr int kDefaultSnmpPort = 161;

// The library is set up once per process before any thread starts
// (app/setup): quiet, with no configuration files, MIBs or persistent state.

// Asks printer 1's hrPrinterDetectedErrorState at address (dotted IPv4, or a
// host name) and UDP port, community "public", request id 12345. Returns
// within timeoutMs, retransmissions included; an unresolvable host name
// gives kNoAnswer at once. Each query has a socket of its own, so a late
// answer to an earlier query never reaches it. detail, when given, receives
// for any result but kNoError what was found, with net-snmp's own text
// where it gave any.
SnmpStatus QueryPrinterStatus(const std::string& address, int timeoutMs, int port = kDefaultSnmpPort,
                              std::string* detail = nullptr);

// The operator's message for a result; empty for kNoError.
std::string_view SnmpStatusMessage(SnmpStatus status);

}  // namespace orvella::printer
