#include "printer/info_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "base/text_codec.h"
#include "printer/ftp_printer_setup.h"
#include "printer/printer_file_lines.h"
#include "printer/printer_timings.h"

namespace orvella::printer {
namespace {

constexpr std::size_t kMinLines = 5;
constexpr std::size_t kHeaderLine = 1;  // line 2
constexpr std::size_t kFirstRow = 3;    // line 4

// Bytes [from, to) of a row, trimmed of spaces; empty where the row is shorter.
std::string Field(const std::string& row, std::size_t from, std::size_t to) {
  if (from >= row.size()) return {};
  std::string_view field = std::string_view(row).substr(from, to - from);
  const auto first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  field = field.substr(first, field.find_last_not_of(' ') - first + 1);
  return base::Cp932ToUtf8(field);
}

int LeadingNumber(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    if (value > (INT32_MAX - 9) / 10) break;  // a number beyond reason is no tray number
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

bool ParseInformationFile(const std::filesystem::path& path, std::vector<TrayInformation>& records,
                          std::string* detail) {
  auto refuse = [detail](const std::string& why) {
    if (detail) *detail = why;
    return false;
  };
  records.clear();
  std::vector<std::string> lines;
  std::string why;
  if (!ReadPrinterFileLines(path, lines, &why)) return refuse(why);
  if (lines.size() < kMinLines) {
    return refuse("the information file has " + std::to_string(lines.size()) + " line(s); at least " +
                  std::to_string(kMinLines) + " are needed");
  }

  const std::string& header = lines[kHeaderLine];
  const auto a = header.find("Name");
  const auto b = header.find("Page Size");
  const auto c = header.find("Status");
  if (a == std::string::npos || b == std::string::npos || c == std::string::npos || !(a < b && b < c)) {
    return refuse("line 2 of the information file reads \"" + base::Cp932ToUtf8(header) +
                  "\"; it needs \"Name\", \"Page Size\" and \"Status\" in that order");
  }

  for (std::size_t i = kFirstRow; i < lines.size() && !lines[i].empty(); ++i) {
    const std::string& row = lines[i];
    TrayInformation record;
    record.number = LeadingNumber(Field(row, 0, a));
    record.name = Field(row, a, b);
    record.pageSize = Field(row, b, c);
    record.status = Field(row, c, std::string::npos);
    records.push_back(std::move(record));
  }
  return true;
}

bool ReadTrayInformation(settings::PrinterSetting& printer, const settings::HiddenSettings& hidden,
                         const std::filesystem::path& workFolder, base::Failure& failure) {
  const std::filesystem::path local = workFolder / "temp.info";
  FtpClient client;
  SetUpForPrinter(client, printer, hidden);
  client.maxAttempts = hidden.checkRetry;
  client.timeout = kPrinterAnswerTimeoutMs;
  client.SetRemoteFile("info");
  client.SetLocalFile(local.string());
  if (!client.GetFile()) {
    failure = {kTrayInfoFetchError, client.Detail()};
    return false;
  }
  std::vector<TrayInformation> records;
  std::string detail;
  if (!ParseInformationFile(local, records, &detail)) {
    failure = {kTrayInfoParseError, std::move(detail)};
    return false;
  }
  ApplyTrayInformation(records, printer);
  return true;
}

void ApplyTrayInformation(const std::vector<TrayInformation>& records, settings::PrinterSetting& printer) {
  const auto model = settings::PrinterModelInfo(printer.model);
  // A wide model's higher tray numbers have no A2 tray to fill.
  const int highest = model ? std::min(model->highestTray, settings::kA2TrayCount) : 0;
  for (const auto& record : records) {
    const int tray = TrayIndex(record.name);
    if (tray < 1 || tray > highest) continue;
    auto& target = printer.a2Trays[static_cast<std::size_t>(tray - 1)];
    target.size = static_cast<settings::A2TraySize>(A2PaperCode(record.pageSize));
    target.type = HoldsSpecialPaper(record.name) ? settings::PaperType::kOther : settings::PaperType::kPlain;
  }
}

int A2PaperCode(std::string_view pageSize) {
  static constexpr std::array<std::pair<std::string_view, int>, 9> kCodes = {{
      {"A2R", 1},
      {"A3", 2},
      {"A3R", 3},
      {"A4", 4},
      {"A4R", 5},
      {"B4", 6},
      {"B4R", 7},
      {"B5", 8},
      {"B5R", 9},
  }};
  for (const auto& [text, code] : kCodes) {
    if (pageSize == text) return code;
  }
  return 0;
}

int TrayIndex(std::string_view name) {
  constexpr std::string_view kTray = "Tray ";
  const auto at = name.find(kTray);
  if (at == std::string_view::npos) return -1;
  const auto next = at + kTray.size();
  return next < name.size() && name[next] >= '0' && name[next] <= '9' ? name[next] - '0' : 0;
}

bool HoldsSpecialPaper(std::string_view name) { return name.find_first_of("()") != std::string_view::npos; }

}  // namespace orvella::printer
