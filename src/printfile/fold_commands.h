#pragma once
#include <string>

namespace orvella::printfile {

// Appends the PJL fold block for a fold type (0: nothing) to a job header.
void AppendFoldCommands(std::string& header, int foldType, int foldMargin);

}  // namespace orvella::printfile
