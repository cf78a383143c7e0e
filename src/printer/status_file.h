#pragma once
// Judging the printer's status file "stat" (fetched before every upload).
#include <filesystem>
#include <string>

namespace orvella::printer {

enum class PrinterStatusCode : int {
  kReady = 0,          // ready or low on toner (or a state listed in Low_Toner.txt)
  kFileNotUsable = 1,  // unreadable, or fewer than 2 lines
  kEnergySave = 4,
  kPanelOff = 5,
  kPrinterError = 6,  // any other state; comes with the error text
  kNotOnline = 7,     // line 2 lacks the online text
};

// Judges a fetched status file. For kPrinterError, errorText is set to the
// bracketed state of line 1 (brackets included, UTF-8) or to empty when line 1
// has none; for every other code it is left as it was. The extra ready texts
// of INI/Low_Toner.txt in the program folder are read anew at each call (none
// when program is empty). detail, when given, receives for any code but
// kReady what the file says.
PrinterStatusCode JudgeStatusFile(const std::filesystem::path& program, const std::filesystem::path& path,
                                  std::string& errorText, std::string* detail = nullptr);

}  // namespace orvella::printer
