#include "settings/settings_check.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>
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

// PRINTER.INI when group or others have any access to it.
std::optional<SettingsProblem> FindOpenPrinterFile(const std::filesystem::path& program) {
  struct stat st {};
  if (::stat(ProgramPath(program, "/INI/PRINTER.INI").c_str(), &st) != 0 || (st.st_mode & 077) == 0)
    return std::nullopt;
  char mode[16];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
  return SettingsProblem{
      "INI/PRINTER.INI", "", "",
      std::string("the file's mode is ") + mode +
          ": users other than its owner can read or change it, and anyone who can read it "
          "can recover the printers' passwords (the cipher's key is the same in every "
          "copy of the program); make it 0600 (chmod 600), as every save by the program does"};
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
  if (auto open = FindOpenPrinterFile(program)) problems.push_back(std::move(*open));
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
