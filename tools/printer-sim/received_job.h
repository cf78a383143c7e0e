#pragma once
// "orvella-printer-sim inspect FILE": what a received job holds, as the
// printer would take it apart, for an operator or a test to read.
#include <filesystem>
#include <ostream>

namespace orvella::sim {

// Writes the summary to out; 0 when every byte was placed, 1 when some were
// not or the file cannot be read (the reason then goes to err).
int InspectJob(const std::filesystem::path& path, std::ostream& out, std::ostream& err);

}  // namespace orvella::sim
