#pragma once
// Reading a file fetched from a printer (or one of its lists) into lines.
#include <filesystem>
#include <string>
#include <vector>

namespace orvella::printer {

// The file's lines as the bytes on disk (CP932), like the printer writes
// them. False with no lines, and why set when asked for, when the file cannot
// be read or holds a line of 8192 bytes or more.
bool ReadPrinterFileLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                          std::string* why = nullptr);

}  // namespace orvella::printer
