#include "snmp_agent.h"

#include "ber.h"

namespace orvella::sim {
namespace {

// 1.3.6.1.2.1.25.3.5.1.2.1 in BER form.
constexpr char kErrorStateOid[] = "\x2B\x06\x01\x02\x01\x19\x03\x05\x01\x02\x01";
constexpr std::string_view kCommunity = "public";
constexpr std::int64_t kNoSuchName = 2;

struct VarBind {
  std::string_view oid;
  std::string value;  // encoded element
};

}  // namespace

std::optional<std::string> AnswerSnmp(std::string_view request, const Faults& faults,
                                      const std::vector<std::uint8_t>& state, std::string& note) {
  using namespace ber;
  std::string_view message, version, community, pdu, field, bindings;
  std::int64_t versionNumber = 0, requestId = 0;
  ber::Tlv pduTlv;
  if (!Expect(request, kSequence, message) || !Expect(message, kInteger, version) ||
      !ReadInteger(version, versionNumber) || !Expect(message, kOctetString, community) ||
      !Read(message, pduTlv)) {
    note = "malformed request, no answer";
    return std::nullopt;
  }
  if (versionNumber != 0) {
    note = "not SNMP v1, no answer";
    return std::nullopt;
  }
  if (community != kCommunity) {
    note = "community '" + std::string(community) + "', no answer";
    return std::nullopt;
  }
  if (pduTlv.tag != kGetRequest) {
    note = "not a GetRequest, no answer";
    return std::nullopt;
  }
  pdu = pduTlv.value;
  if (!Expect(pdu, kInteger, field) || !ReadInteger(field, requestId) || !Expect(pdu, kInteger, field) ||
      !Expect(pdu, kInteger, field) || !Expect(pdu, kSequence, bindings)) {
    note = "malformed GetRequest, no answer";
    return std::nullopt;
  }
  std::vector<VarBind> binds;
  while (!bindings.empty()) {
    std::string_view bind, oid;
    Tlv value;
    if (!Expect(bindings, kSequence, bind) || !Expect(bind, kObjectId, oid) || !Read(bind, value)) {
      note = "malformed variable binding, no answer";
      return std::nullopt;
    }
    binds.push_back({oid, Encode(value.tag, value.value)});
  }
  note = "GetRequest id " + std::to_string(requestId);
  if (faults.snmpSilent) {
    note += ", no answer (fault snmp-silent)";
    return std::nullopt;
  }

  std::int64_t errorStatus = 0, errorIndex = 0;
  for (std::size_t i = 0; i < binds.size() && errorStatus == 0; ++i) {
    if (faults.snmpNoSuchName ||
        binds[i].oid != std::string_view(kErrorStateOid, sizeof kErrorStateOid - 1)) {
      errorStatus = kNoSuchName;
      errorIndex = static_cast<std::int64_t>(i) + 1;
    }
  }
  std::string answerBinds;
  if (errorStatus == 0) {
    std::string bytes(state.begin(), state.end());
    if (faults.snmpTwoBytes) bytes = std::string(1, bytes.empty() ? '\0' : bytes[0]) + std::string(1, '\0');
    for (auto& b : binds) b.value = Encode(kOctetString, bytes);
  }
  // A v1 error answer carries the request's bindings unchanged.
  for (const auto& b : binds) answerBinds += Encode(kSequence, Encode(kObjectId, b.oid) + b.value);
  if (faults.snmpNoSuchName)
    note += ", noSuchName (fault snmp-nosuchname)";
  else if (errorStatus)
    note += ", noSuchName";
  if (faults.snmpTwoBytes && errorStatus == 0) note += ", two bytes (fault snmp-two-bytes)";
  if (faults.snmpWrongId) {
    requestId = requestId == INT32_MAX ? 1 : requestId + 1;
    note += ", answered as id " + std::to_string(requestId) + " (fault snmp-wrong-id)";
  }
  const std::string answerPdu = EncodeInteger(requestId) + EncodeInteger(errorStatus) +
                                EncodeInteger(errorIndex) + Encode(kSequence, answerBinds);
  return Encode(kSequence,
                EncodeInteger(0) + Encode(kOctetString, kCommunity) + Encode(kGetResponse, answerPdu));
}

}  // namespace orvella::sim
