#pragma once
// "orvella-printer-sim inspect FILE": what a received job holds, as the
// printer would take it apart, for an operator or a test to read.
#include <filesystem>
#include <ostream>

namespace orvella::sim {

// Writes the summary to out; 0 when every byte was placed and the job holds
// at least one page, 1 otherwise (a missing page or an unreadable file is
// also reported on err).
int InspectJob(const std::filesystem::path& path, std::ostream& out, std::ostream& err);

}  // namespace orvella::sim
