#include "printer/printer_file_lines.h"

#include "base/file_error.h"
#include "base/read_lines.h"

namespace orvella::printer {

bool ReadPrinterFileLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                          std::string* why) {
  try {
    if (base::ReadLines(path, lines)) return true;
    if (why) *why = path.string() + " cannot be read";
  } catch (const base::FileError&) {
    lines.clear();
    if (why) *why = path.string() + " has a line of 8192 bytes or more";
  }
  return false;
}

}  // namespace orvella::printer
