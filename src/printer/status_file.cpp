#include "printer/status_file.h"

#include <string_view>
#include <vector>

#include "base/text_codec.h"
#include "printer/printer_file_lines.h"
#include "settings/program_folders.h"

namespace orvella::printer {
namespace {

constexpr std::string_view kOnline = "Online/Offline : Online.";
constexpr std::string_view kReady = "(Ready.)";
constexpr std::string_view kLowToner = "(Low on Toner.)";
constexpr std::string_view kPanelOff = "(Panel Off Mode.)";
constexpr std::string_view kEnergySave = "(Energy Save Mode.)";
constexpr std::string_view kEnergySaver = "(Energy Saver Mode.)";
constexpr const char* kExtraReadyFile = "/INI/Low_Toner.txt";
constexpr std::size_t kMaxExtraReadyLines = 200;

// The non-empty lines among the first 200 of Low_Toner.txt; none when it is missing or unreadable.
std::vector<std::string> ExtraReadyTexts(const std::filesystem::path& program) {
  std::vector<std::string> lines;
  if (program.empty()) return {};
  ReadPrinterFileLines(settings::ProgramPath(program, kExtraReadyFile), lines);
  if (lines.size() > kMaxExtraReadyLines) lines.resize(kMaxExtraReadyLines);
  std::erase_if(lines, [](const std::string& line) { return line.empty(); });
  return lines;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

PrinterStatusCode JudgeStatusFile(const std::filesystem::path& program, const std::filesystem::path& path,
                                  std::string& errorText, std::string* detail) {
  auto judged = [detail](PrinterStatusCode code, const std::string& why) {
    if (detail) *detail = why;
    return code;
  };
  std::vector<std::string> lines;
  std::string why;
  if (!ReadPrinterFileLines(path, lines, &why)) return judged(PrinterStatusCode::kFileNotUsable, why);
  if (lines.size() < 2) {
    return judged(PrinterStatusCode::kFileNotUsable,
                  "the status file has " + std::to_string(lines.size()) + " line(s); at least 2 are needed");
  }
  if (!Contains(lines[1], kOnline)) {
    return judged(PrinterStatusCode::kNotOnline, "line 2 of the status file reads \"" +
                                                     base::Cp932ToUtf8(lines[1]) + "\" instead of \"" +
                                                     std::string(kOnline) + "\"");
  }

  const std::string& state = lines[0];
  if (Contains(state, kReady) || Contains(state, kLowToner)) return PrinterStatusCode::kReady;
  for (const auto& text : ExtraReadyTexts(program)) {
    if (Contains(state, text)) return PrinterStatusCode::kReady;
  }
  const std::string reports = "the printer reports \"" + base::Cp932ToUtf8(state) + "\"";
  if (Contains(state, kPanelOff)) return judged(PrinterStatusCode::kPanelOff, reports);
  if (Contains(state, kEnergySave) || Contains(state, kEnergySaver))
    return judged(PrinterStatusCode::kEnergySave, reports);

  const auto open = state.find('(');
  const auto close = state.find(')');
  if (open != std::string::npos && close != std::string::npos && open < close) {
    errorText = base::Cp932ToUtf8(std::string_view(state).substr(open, close - open + 1));
  } else {
    errorText.clear();
  }
  return judged(PrinterStatusCode::kPrinterError, reports);
}

}  // namespace orvella::printer
