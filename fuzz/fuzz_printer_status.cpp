// Arbitrary bytes as the printer's status file "stat"; with the first byte
// odd, the same bytes are also the program folder's extra ready texts.
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "printer/status_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  static const fs::path program = [] {
    const fs::path folder = orvella::fuzz::OutputFile("program");
    fs::create_directories(folder / "INI");
    return folder;
  }();
  const fs::path readyTexts = program / "INI" / "Low_Toner.txt";
  if (size > 0 && (data[0] & 1)) {
    std::ofstream(readyTexts, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  } else {
    fs::remove(readyTexts);
  }
  std::string errorText, detail;
  orvella::printer::JudgeStatusFile(program, orvella::fuzz::InputFile(data, size), errorText, &detail);
  return 0;
}
