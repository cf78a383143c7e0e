#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace orvella::base {

// Reads a text file into lines. CR, LF and CR LF each end a line (LF then CR
// is two ends); an unended last line counts when not empty. False, with an
// empty list, when the file cannot be opened. A line of 8192 or more bytes
// raises FileError "ReadLines()バッファオーバー". Lines are the file's
// bytes, unconverted.
bool ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines);

}  // namespace orvella::base
