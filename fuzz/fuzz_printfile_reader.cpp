// Arbitrary bytes as a print file taken apart by the reader the printer
// simulator and "orvella tool inspect-job" use: every part it reports lies
// within the file.
#include <cstdlib>
#include <string_view>

#include "printfile/print_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella::printfile;
  const PrintFileView view = ParsePrintFile(std::string_view(reinterpret_cast<const char*>(data), size));
  auto within = [size](uint64_t offset, uint64_t length) {
    return offset <= size && length <= size - offset;
  };
  if (view.fileSize != size || !within(view.bodyOffset, 0)) std::abort();
  for (const auto& part : view.body) {
    if (!within(part.offset, part.size)) std::abort();
  }
  for (const auto& part : view.unrecognised) {
    if (!within(part.offset, part.size)) std::abort();
  }
  if (view.trailerFound && !within(view.trailerOffset, 0)) std::abort();
  view.Pages();
  return 0;
}
