#include "app/commands/printer_check_report.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "settings/printer_settings.h"
#include "settings/program_folders.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;
namespace s = orvella::settings;

Json Trays(const std::vector<s::A2Tray>& read) {
  Json trays = Json::array();
  for (std::size_t i = 0; i < read.size(); ++i) {
    const int size = static_cast<int>(read[i].size);
    trays.push_back({{"tray", i + 1},
                     {"size", size},
                     {"size_keyword", s::KeywordOf(s::kA2TraySizeNames, size)},
                     {"paper_type", static_cast<int>(read[i].type)}});
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

std::optional<printer::PrinterCheck> CheckNamedPrinter(const std::filesystem::path& program,
                                                       const std::string& name) {
  const printer::PrinterCheckContext context = printer::LoadPrinterCheckContext(program);
  const std::vector<s::PrinterSetting> printers = s::LoadPrinterSettings(program);
  const auto found = std::find_if(printers.begin(), printers.end(),
                                  [&](const s::PrinterSetting& printer) { return printer.name == name; });
  if (found == printers.end()) return std::nullopt;
  settings::CreateApplicationFolders(program);
  printer::PrinterCheck check = printer::CheckPrinter(*found, context);
  // As every command that needs a work folder, the check fails without one.
  if (check.notAsked && check.notAsked->message == settings::kWorkFolderError)
    throw std::runtime_error(check.notAsked->message + ": " + check.notAsked->detail);
  return check;
}

Json PrinterCheckJson(const printer::PrinterCheck& check) {
  Json result;
  result["printer"] = check.printer;
  result["address"] = check.address;
  if (check.notAsked) {
    result["message"] = check.notAsked->message;
    result["detail"] = check.notAsked->detail;
    result["fit"] = false;
    return result;
  }
  const printer::SnmpStatus snmp = check.snmp.status;
  result["snmp"] = {{"code", static_cast<int>(snmp)}, {"message", printer::SnmpStatusMessage(snmp)}};
  if (snmp != printer::SnmpStatus::kNoError) result["snmp"]["detail"] = check.snmp.detail;
  const printer::StatusFileCheck& stat = check.stat;
  result["stat"] = {{"code", stat.code ? Json(static_cast<int>(*stat.code)) : Json(nullptr)},
                    {"message", stat.outcome.message},
                    {"error_text", stat.errorText}};
  if (stat.outcome.message != printer::kTransferOk) result["stat"]["detail"] = stat.outcome.detail;
  if (check.trays) {
    result["trays"] = Trays(check.trays->trays);
    if (check.trays->failure) {
      result["trays_message"] = check.trays->failure->message;
      result["trays_detail"] = check.trays->failure->detail;
    }
  }
  result["fit"] = check.Fit();
  return result;
}

}  // namespace orvella::cli
