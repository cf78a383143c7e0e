#pragma once
// The printer's SNMP v1 agent: answers a GetRequest for the detected error
// state (1.3.6.1.2.1.25.3.5.1.2.1) under the community "public".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer_dir.h"

namespace orvella::sim {

// The answer to one datagram, or nothing when the agent stays silent
// (malformed request, other version or community, PDU other than GetRequest,
// fault snmp-silent). note tells the log what happened.
std::optional<std::string> AnswerSnmp(std::string_view request, const Faults& faults,
                                      const std::vector<std::uint8_t>& state, std::string& note);

}  // namespace orvella::sim
