#pragma once
// Joining files byte for byte (multi-page print files are pages back to back).
#include <filesystem>

namespace orvella::imaging {

// Appends every byte of source to target (created when missing), in 1 MB
// blocks. False when a file cannot be opened, a read or write falls short, or
// both names are the same file (which would grow without end).
bool AppendFile(const std::filesystem::path& target, const std::filesystem::path& source);

}  // namespace orvella::imaging
