#include "app/commands/printer_check_report.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "base/failure.h"
#include "base/ipv4_address.h"
#include "printer/ftp_client.h"
#include "printer/info_file.h"
#include "printer/printer_address.h"
#include "printer/snmp_status.h"
#include "settings/hidden_settings.h"
#include "settings/preferences.h"
#include "settings/printer_models.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;
namespace s = orvella::settings;

Json Trays(const s::PrinterSetting& printer) {
  const auto model = s::PrinterModelInfo(printer.model);
  const int highest = std::min(model ? model->highestTray : s::kA2TrayCount, s::kA2TrayCount);
  Json trays = Json::array();
  for (int t = 1; t <= highest; ++t) {
    const s::A2Tray& tray = printer.a2Trays[static_cast<std::size_t>(t - 1)];
    const int size = static_cast<int>(tray.size);
    trays.push_back({{"tray", t},
                     {"size", size},
                     {"size_keyword", s::KeywordOf(s::kA2TraySizeNames, size)},
                     {"paper_type", static_cast<int>(tray.type)}});
  }
  return trays;
}

}  // namespace

// The SNMP library was started at process set-up.
settings::WorkFolder PrepareForPrinters(const std::filesystem::path& program) {
  settings::CreateApplicationFolders(program);
  std::string detail;
  auto folder = settings::WorkFolder::Create(program, detail);
  if (!folder) throw std::runtime_error(std::string(settings::kWorkFolderError) + ": " + detail);
  return std::move(*folder);
}

printer::StatusPreferences ReadStatusPreferences(const std::filesystem::path& program) {
  return {.enablePanelOff = settings::GetEnablePanelOff(program),
          .enableEnergySave = settings::GetEnableEnergySave(program)};
}

std::optional<PrinterCheckReport> CheckPrinter(const std::filesystem::path& program,
                                               const std::string& name) {
  const s::HiddenSettings hidden = s::LoadHiddenSettings(program);
  std::vector<s::PrinterSetting> printers = s::LoadPrinterSettings(program);
  const auto found = std::find_if(printers.begin(), printers.end(),
                                  [&](const s::PrinterSetting& printer) { return printer.name == name; });
  if (found == printers.end()) return std::nullopt;
  s::PrinterSetting& printer = *found;
  if (const auto problem = printer::CheckPrinterAddress(printer)) {
    return PrinterCheckReport{Json{{"printer", printer.name},
                                   {"address", base::FormatIpv4Address(printer.ipAddr)},
                                   {"message", problem->message},
                                   {"detail", problem->detail},
                                   {"fit", false}},
                              false};
  }
  const s::WorkFolder work = PrepareForPrinters(program);

  // Each question is asked once, whatever the earlier answer was.
  std::string snmpDetail;
  const auto snmp = printer::QueryPrinterStatus(base::FormatIpv4Address(printer.ipAddr), 10000,
                                                hidden.printerSnmpPort, &snmpDetail);
  printer::FtpClient client;
  printer::SetUpStatusFetch(client, printer, hidden);
  const printer::StatusFileCheck stat =
      printer::CheckStatusFile(client, hidden, ReadStatusPreferences(program), work.Context());

  Json result;
  result["printer"] = printer.name;
  result["address"] = base::FormatIpv4Address(printer.ipAddr);
  result["snmp"] = {{"code", static_cast<int>(snmp)}, {"message", printer::SnmpStatusMessage(snmp)}};
  if (snmp != printer::SnmpStatus::kNoError) result["snmp"]["detail"] = snmpDetail;
  result["stat"] = {{"code", stat.code ? Json(static_cast<int>(*stat.code)) : Json(nullptr)},
                    {"message", stat.outcome.message},
                    {"error_text", stat.errorText}};
  if (stat.outcome.message != printer::kTransferOk) result["stat"]["detail"] = stat.outcome.detail;
  bool fit = snmp == printer::SnmpStatus::kNoError && stat.outcome.message == printer::kTransferOk;
  if (!s::IsWidePrinter(printer) && printer.a2TrayStructAuto) {
    base::Failure failure;
    const bool read = printer::ReadTrayInformation(printer, hidden, work.Path(), failure);
    result["trays"] = read ? Trays(printer) : Json::array();
    if (!read) {
      result["trays_message"] = failure.message;
      result["trays_detail"] = failure.detail;
    }
    fit = fit && read;
  }
  result["fit"] = fit;
  return PrinterCheckReport{std::move(result), fit};
}

}  // namespace orvella::cli
