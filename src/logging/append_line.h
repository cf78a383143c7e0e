#pragma once
// Appending to a log file that several threads and processes share.
#include <filesystem>
#include <string>

namespace orvella::logging {

// Appends line (already encoded) to path in one write. A missing file is
// created holding header first, atomically, so no line can come before it.
// False when the file cannot be opened or written.
bool AppendLine(const std::filesystem::path& path, const std::string& header, const std::string& line);

}  // namespace orvella::logging
