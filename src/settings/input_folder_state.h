#pragma once
// Whether the scan can take files from an input folder. A folder it cannot
// read contributes nothing and stops nothing, so it is looked for on its own:
// by the settings check, at the start of operation and on the status page.
#include <optional>
#include <string>

namespace orvella::settings {

// nullopt when inputDir names a folder whose entries can be listed and
// opened; else why not, in plain English ("does not exist", "is not a
// folder", "cannot be read: Permission denied").
std::optional<std::string> InputFolderProblem(const std::string& inputDir);

}  // namespace orvella::settings
