// Arbitrary bytes as a file dropped into a hot folder: its kind. A file
// recognised without unsupported GL keeps its kind with it, and only a PJL
// envelope that enters another language is refused with it.
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "jobs/input_file_type.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using orvella::jobs::InputFileType;
  const auto path = orvella::fuzz::InputFile(data, size);
  InputFileType strict = InputFileType::kUnsupported, lenient = InputFileType::kUnsupported;
  if (!orvella::jobs::DetectInputFileType(path, strict, false)) std::abort();
  if (!orvella::jobs::DetectInputFileType(path, lenient, true)) std::abort();
  const bool envelope = size >= 13 && std::memcmp(data, "\x1B%-12345X@PJL", 13) == 0;
  if (lenient == InputFileType::kUnsupported && !envelope) std::abort();
  if (strict != InputFileType::kUnsupported && strict != lenient) std::abort();
  return 0;
}
