#pragma once
// Problems in a program folder's settings that loading passes over silently:
// the files are read whatever they hold, so these are looked for on request.
#include <filesystem>
#include <string>
#include <vector>

namespace orvella::settings {

struct SettingsProblem {
  std::string file;    // "INI/PRINTER.INI"
  std::string record;  // the record's name, or empty for the whole file
  std::string field;   // the key, or empty
  std::string detail;  // plain English: what is wrong and what follows from it
};

// INI files of the INI folder that look like UTF-8 rather than CP932: their
// names would read garbled.
std::vector<SettingsProblem> FindUtf8IniFiles(const std::filesystem::path& program);

// Everything this check knows of: the files above, input folders the scan
// cannot read (missing, not a folder, no permission), a PRINTER.INI that users
// other than its owner can reach (the passwords in it are recovered by anyone
// who reads it), and printers whose address is not a unicast IPv4 address (an
// unreadable IP_ADDR reads as 0.0.0.0).
std::vector<SettingsProblem> FindSettingsProblems(const std::filesystem::path& program);

}  // namespace orvella::settings
