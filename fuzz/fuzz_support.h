#pragma once
// Shared by the fuzz targets: the operations take file names, so the
// fuzzer's bytes go to a private temporary file first.
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace orvella::fuzz {

// Writes the bytes to this process's input file and returns its path.
std::filesystem::path InputFile(const uint8_t* data, size_t size);
// A path for an output in this process's folder.
std::filesystem::path OutputFile(const char* name);
// False for pages whose pixels (times scale squared) would take the fuzzer
// seconds to stream: the size limits themselves are covered by unit tests.
bool Manageable(const std::filesystem::path& input, double scale = 1);

}  // namespace orvella::fuzz
