#include "printer/snmp_status.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
// clang-format on
#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <utility>

namespace orvella::printer {
namespace {

using Clock = std::chrono::steady_clock;

constexpr long kRequestId = 12345;
constexpr oid kErrorStateOid[] = {1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1};  // hrPrinterDetectedErrorState.1
constexpr char kCommunity[] = "public";
// noPaper, noToner, doorOpen, jammed, offline, serviceRequested. Low paper
// (0x80) and low toner (0x20) do not keep a job from the printer.
constexpr unsigned kSeriousErrors = 0x5F;
// The caller's time-out is shared among the tries; a lost datagram is sent
// again only after a pause a printer on the local network never needs.
constexpr int kMinTryMs = 2500;
constexpr int kMaxTries = 4;

constexpr std::string_view kMessages[] = {
    "",
    "プリンタが異常状態である可能性があります",
    "プリンタSNMP APIエラー",
    "プリンタに接続できません",
    "プリンタ状態を取得できません",
};

// The bits of hrPrinterDetectedErrorState's first byte, most significant first.
constexpr const char* kErrorBitNames[8] = {"lowPaper", "noPaper", "lowToner", "noToner",
                                           "doorOpen", "jammed",  "offline",  "serviceRequested"};

// net-snmp's own text of a session's last error (for a single-session
// handle, of snmp_sess_session's structure).
std::string LibraryText(netsnmp_session* session) {
  int clibError = 0;
  int snmpError = 0;
  char* text = nullptr;
  snmp_error(session, &clibError, &snmpError, &text);
  std::string result = text ? text : "";
  std::free(text);
  return result;
}

std::string Hex(unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[(value >> 4) & 0xF] + kDigits[value & 0xF];
}

// The outcome of one query; the library's callbacks run inside the query's
// own read and time-out calls, on its thread.
struct Query {
  std::string peer;  // "ip:port", for details
  int timeoutMs = 0;
  bool done = false;
  SnmpStatus result = SnmpStatus::kNoAnswer;
  std::string detail;
  void Finish(SnmpStatus status, std::string why = {}) {
    if (done) return;
    done = true;
    result = status;
    detail = std::move(why);
  }
  std::string NoAnswerText() const {
    return "no answer from " + peer + " within " + std::to_string(timeoutMs) + " ms";
  }
};

void JudgeResponse(const netsnmp_pdu& pdu, Query& query) {
  if (pdu.errstat != SNMP_ERR_NOERROR) {
    query.Finish(SnmpStatus::kUnexpectedAnswer, "the printer answered with error status " +
                                                    std::to_string(pdu.errstat) + ": " +
                                                    snmp_errstring(static_cast<int>(pdu.errstat)));
    return;
  }
  int count = 0;
  for (const netsnmp_variable_list* v = pdu.variables; v; v = v->next_variable) ++count;
  if (pdu.reqid != kRequestId || count != 1) {
    query.Finish(SnmpStatus::kUnexpectedAnswer, "the printer answered request " + std::to_string(pdu.reqid) +
                                                    " with " + std::to_string(count) + " values; request " +
                                                    std::to_string(kRequestId) +
                                                    " with one value was expected");
    return;
  }
  const netsnmp_variable_list& value = *pdu.variables;
  if (value.type != ASN_OCTET_STR || value.val_len != 1 || !value.val.string) {
    query.Finish(SnmpStatus::kUnexpectedAnswer, "the printer answered with ASN.1 type " + Hex(value.type) +
                                                    " of " + std::to_string(value.val_len) +
                                                    " bytes; a 1-byte OCTET STRING was expected");
    return;
  }
  const unsigned bits = value.val.string[0];
  if ((bits & kSeriousErrors) == 0) {
    query.Finish(SnmpStatus::kNoError);
    return;
  }
  std::string names;
  for (int bit = 0; bit < 8; ++bit) {
    if ((bits & kSeriousErrors & (0x80u >> bit)) == 0) continue;
    names += (names.empty() ? "" : ", ") + std::string(kErrorBitNames[bit]);
  }
  query.Finish(SnmpStatus::kErrorState,
               "the printer reports " + names + " (hrPrinterDetectedErrorState " + Hex(bits) + ")");
}

int OnEvent(int operation, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
  auto& query = *static_cast<Query*>(magic);
  switch (operation) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
      if (pdu) {
        JudgeResponse(*pdu, query);
      } else {
        query.Finish(SnmpStatus::kApiFailure, "net-snmp delivered an answer without content");
      }
      break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
      query.Finish(SnmpStatus::kNoAnswer, query.NoAnswerText());
      break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
    case NETSNMP_CALLBACK_OP_DISCONNECT:
      query.Finish(SnmpStatus::kNoAnswer, "the request to " + query.peer + " could not be sent: " +
                                              (session ? LibraryText(session) : std::string("no session")));
      break;
    default:  // a retransmission and the like: still waiting
      break;
  }
  return 1;
}

// The library matches answers to requests by id and would drop one under
// another id unseen, leaving the query to time out; for the printer check an
// answer under a wrong id is a wrong answer.
int OnParsed(netsnmp_session* session, netsnmp_pdu* pdu, int parseResult) {
  if (parseResult != SNMP_ERR_NOERROR || pdu->command != SNMP_MSG_RESPONSE || pdu->reqid == kRequestId)
    return 1;
  static_cast<Query*>(session->callback_magic)
      ->Finish(SnmpStatus::kUnexpectedAnswer, "the printer answered request " + std::to_string(pdu->reqid) +
                                                  "; request " + std::to_string(kRequestId) + " was sent");
  return 0;
}

// Letters, digits and hyphens in dot-separated labels: anything else cannot
// name a host, and is refused before it could reach a name server.
bool IsHostName(const std::string& text) {
  if (text.empty() || text.size() > 253) return false;
  std::size_t label = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '.';
    if (c == '.') {
      if (label == 0 || label > 63 || text[i - 1] == '-' || text[i - label] == '-') return false;
      label = 0;
    } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-') {
      ++label;
    } else {
      return false;
    }
  }
  return true;
}

// The dotted IPv4 text of address: itself when it is one, else the first
// address of the host it names; empty, with the reason in why, when it names none.
std::string ResolveIpv4(const std::string& address, std::string& why) {
  in_addr parsed{};
  if (inet_pton(AF_INET, address.c_str(), &parsed) == 1) return address;
  if (!IsHostName(address)) {
    why = "\"" + address + "\" is neither an IPv4 address nor a host name";
    return {};
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (const int error = getaddrinfo(address.c_str(), nullptr, &hints, &found); error != 0 || !found) {
    why = "the host name " + address +
          " cannot be resolved: " + (error != 0 ? gai_strerror(error) : "no address");
    return {};
  }
  std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> guard(found, &freeaddrinfo);
  char text[INET_ADDRSTRLEN] = {};
  const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  if (!inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text)) {
    why = "the address of " + address + " cannot be written out";
    return {};
  }
  return text;
}

struct SessionCloser {
  void operator()(void* session) const { snmp_sess_close(session); }
};
using Session = std::unique_ptr<void, SessionCloser>;

struct PduFreer {
  void operator()(netsnmp_pdu* pdu) const { snmp_free_pdu(pdu); }
};
using Pdu = std::unique_ptr<netsnmp_pdu, PduFreer>;

struct FdSet {
  FdSet() { netsnmp_large_fd_set_init(&set, FD_SETSIZE); }
  ~FdSet() { netsnmp_large_fd_set_cleanup(&set); }
  FdSet(const FdSet&) = delete;
  FdSet& operator=(const FdSet&) = delete;
  netsnmp_large_fd_set set;
};

// A session of its own for one query: a fresh socket, closed with it.
Session OpenSession(const std::string& ipv4, int port, int timeoutMs, Query& query, std::string& why) {
  const int tries = std::clamp(timeoutMs / kMinTryMs, 1, kMaxTries);
  netsnmp_session config;
  snmp_sess_init(&config);
  config.version = SNMP_VERSION_1;
  config.community = reinterpret_cast<u_char*>(const_cast<char*>(kCommunity));
  config.community_len = sizeof kCommunity - 1;
  config.retries = tries - 1;
  config.timeout = static_cast<long>(timeoutMs) * 1000 / tries;  // per try, in microseconds
  config.callback = &OnEvent;
  config.callback_magic = &query;
  const std::string peer = "udp:" + ipv4 + ":" + std::to_string(port);
  netsnmp_transport* transport = netsnmp_tdomain_transport_full("snmp", peer.c_str(), 0, "udp", nullptr);
  if (!transport) {
    why = "net-snmp cannot open a UDP transport to " + peer + ": " + std::generic_category().message(errno);
    return nullptr;
  }
  // The session owns the transport from here, even when it cannot be made.
  Session session(snmp_sess_add(&config, transport, nullptr, &OnParsed));
  if (!session) why = "net-snmp cannot open a session to " + peer + ": " + LibraryText(&config);
  return session;
}

// Runs the session's reads and retransmissions until the query is answered
// or the deadline passes.
void Wait(void* session, Query& query, Clock::time_point deadline) {
  const netsnmp_transport* transport = snmp_sess_transport(session);
  while (!query.done) {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left <= 0 || !transport || transport->sock < 0) return;
    FdSet fds;
    int maxFd = 0;
    int block = 0;
    timeval next{static_cast<time_t>(left / 1000000), static_cast<suseconds_t>(left % 1000000)};
    snmp_sess_select_info2(session, &maxFd, &fds.set, &next, &block);
    pollfd socket{transport->sock, POLLIN, 0};
    const long waitMs = (static_cast<long>(next.tv_sec) * 1000000 + next.tv_usec + 999) / 1000;
    const int ready = poll(&socket, 1, static_cast<int>(waitMs));
    if (ready > 0) {
      if (snmp_sess_read2(session, &fds.set) != 0 &&
          snmp_sess_session(session)->s_snmp_errno == SNMPERR_BAD_RECVFROM) {
        query.Finish(SnmpStatus::kNoAnswer,
                     "no answer from " + query.peer + ": " + LibraryText(snmp_sess_session(session)));
      }
    } else if (ready == 0) {
      snmp_sess_timeout(session);
    } else if (errno != EINTR) {
      query.Finish(SnmpStatus::kApiFailure,
                   "waiting for the answer failed: " + std::generic_category().message(errno));
    }
  }
}

// The query itself; why receives the reason for any result but kNoError.
SnmpStatus Ask(const std::string& address, int timeoutMs, int port, std::string& why) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  const std::string ipv4 = ResolveIpv4(address, why);
  if (ipv4.empty()) return SnmpStatus::kNoAnswer;

  Query query;
  query.peer = ipv4 + ":" + std::to_string(port);
  query.timeoutMs = timeoutMs;
  Session session = OpenSession(ipv4, port, std::max(timeoutMs, 1), query, why);
  if (!session) return SnmpStatus::kApiFailure;
  Pdu pdu(snmp_pdu_create(SNMP_MSG_GET));
  if (pdu) pdu->reqid = kRequestId;
  if (!pdu || !snmp_add_null_var(pdu.get(), kErrorStateOid, std::size(kErrorStateOid))) {
    why = "net-snmp cannot build the request";
    return SnmpStatus::kApiFailure;
  }
  // The library owns the request once it is sent.
  if (snmp_sess_async_send(session.get(), pdu.get(), &OnEvent, &query) == 0) {
    why = "the request to " + query.peer +
          " could not be sent: " + LibraryText(snmp_sess_session(session.get()));
    const bool transportError = snmp_sess_session(session.get())->s_snmp_errno == SNMPERR_BAD_SENDTO;
    return transportError ? SnmpStatus::kNoAnswer : SnmpStatus::kApiFailure;
  }
  pdu.release();

  Wait(session.get(), query, deadline);
  if (!query.done) {
    why = query.NoAnswerText();
    return SnmpStatus::kNoAnswer;
  }
  why = query.detail;
  return query.result;
}

}  // namespace

SnmpStatus QueryPrinterStatus(const std::string& address, int timeoutMs, int port, std::string* detail) {
  std::string why;
  const SnmpStatus status = Ask(address, timeoutMs, port, why);
  if (detail && status != SnmpStatus::kNoError) *detail = why;
  return status;
}

std::string_view SnmpStatusMessage(SnmpStatus status) {
  const auto index = static_cast<std::size_t>(status);
  return index < std::size(kMessages) ? kMessages[index] : std::string_view();
}

}  // namespace orvella::printer
