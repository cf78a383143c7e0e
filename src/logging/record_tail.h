#pragma once
// The end of a log file whose records may span lines: read from the first
// whole record, within a size bound.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace orvella::logging {

// A regular file, not a link to one.
bool IsRegularFile(const std::filesystem::path& path);

// The last maxBytes of the file from a record start (truncated says whether
// anything before was left out); nullopt when it cannot be read. The cut is
// placed by following the quotes of the whole file before it.
std::optional<std::string> ReadRecordTail(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                          bool& truncated);

}  // namespace orvella::logging
