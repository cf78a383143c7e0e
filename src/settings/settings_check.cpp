#include "settings/settings_check.h"

#include <algorithm>
#include <system_error>

#include "base/file_io.h"
#include "base/ipv4_address.h"
#include "base/text_codec.h"
#include "settings/input_folder_state.h"
#include "settings/input_settings.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"

namespace orvella::settings {
namespace {

constexpr size_t kMaxCheckedBytes = size_t{16} << 20;

bool IsIniName(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return extension == ".INI";
}

}  // namespace

std::vector<SettingsProblem> FindUtf8IniFiles(const std::filesystem::path& program) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(ProgramPath(program, "/INI"), ec)) {
    if (entry.is_regular_file(ec) && IsIniName(entry.path())) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<SettingsProblem> problems;
  for (const auto& file : files) {
    std::string bytes;
    if (base::ReadWholeFile(file, bytes, kMaxCheckedBytes) != base::ReadStatus::kOk) continue;
    if (!base::LooksLikeUtf8(bytes)) continue;
    problems.push_back({"INI/" + file.filename().string(), "", "",
                        "the file looks like UTF-8, but settings files are read as CP932 (Shift_JIS), so its "
                        "Japanese text reads garbled; convert it with: iconv -f UTF-8 -t CP932"});
  }
  return problems;
}

std::vector<SettingsProblem> FindSettingsProblems(const std::filesystem::path& program) {
  std::vector<SettingsProblem> problems = FindUtf8IniFiles(program);
  for (const auto& input : LoadInputSettings(program)) {
    const auto problem = InputFolderProblem(input.inputDir);
    if (!problem) continue;
    problems.push_back(
        {"INI/INPUT.INI", input.inputDir, "INPUT_DIR",
         "the input folder " + *problem +
             ", so no file is taken from it; operation starts all the same and takes its files "
             "once it can read it"});
  }
  for (const auto& printer : LoadPrinterSettings(program)) {
    if (base::IsUnicastAddress(printer.ipAddr)) continue;
    problems.push_back(
        {"INI/PRINTER.INI", printer.name, "IP_ADDR",
         "the address reads as " + base::FormatIpv4Address(printer.ipAddr) +
             ", which is not the address of one machine (a missing or unreadable IP_ADDR reads as "
             "0.0.0.0); the printer's checks and transfers fail until it is corrected"});
  }
  return problems;
}

}  // namespace orvella::settings
