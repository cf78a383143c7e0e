#include "printer/status_file.h"

#include <string_view>
#include <vector>

#include "base/file_error.h"
#include "base/read_lines.h"
#include "base/text_codec.h"
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

// Lines are compared as the bytes on disk (CP932), like the status file itself.
bool ReadLinesQuietly(const std::filesystem::path& path, std::vector<std::string>& lines) {
  try {
    return base::ReadLines(path, lines);
  } catch (const base::FileError&) {
    lines.clear();
    return false;
  }
}

// The non-empty lines among the first 200 of Low_Toner.txt; none when it is missing or unreadable.
std::vector<std::string> ExtraReadyTexts(const std::filesystem::path& program) {
  std::vector<std::string> lines;
  if (program.empty()) return {};
  ReadLinesQuietly(settings::ProgramPath(program, kExtraReadyFile), lines);
  if (lines.size() > kMaxExtraReadyLines) lines.resize(kMaxExtraReadyLines);
  std::erase_if(lines, [](const std::string& line) { return line.empty(); });
  return lines;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

PrinterStatusCode JudgeStatusFile(const std::filesystem::path& program, const std::filesystem::path& path,
                                  std::string& errorText) {
  std::vector<std::string> lines;
  if (!ReadLinesQuietly(path, lines) || lines.size() < 2) return PrinterStatusCode::kFileNotUsable;
  if (!Contains(lines[1], kOnline)) return PrinterStatusCode::kNotOnline;

  const std::string& state = lines[0];
  if (Contains(state, kReady) || Contains(state, kLowToner)) return PrinterStatusCode::kReady;
  for (const auto& text : ExtraReadyTexts(program)) {
    if (Contains(state, text)) return PrinterStatusCode::kReady;
  }
  if (Contains(state, kPanelOff)) return PrinterStatusCode::kPanelOff;
  if (Contains(state, kEnergySave) || Contains(state, kEnergySaver)) return PrinterStatusCode::kEnergySave;

  const auto open = state.find('(');
  const auto close = state.find(')');
  if (open != std::string::npos && close != std::string::npos && open < close) {
    errorText = base::Cp932ToUtf8(std::string_view(state).substr(open, close - open + 1));
  } else {
    errorText.clear();
  }
  return PrinterStatusCode::kPrinterError;
}

}  // namespace orvella::printer
