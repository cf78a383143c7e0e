// orvella printer-check NAME: asks a configured printer what a job would ask.
// orvella tool send FILE --printer NAME: one transfer of a print file.
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "printer/ftp_client.h"
#include "printer/info_file.h"
#include "printer/printer_address.h"
#include "printer/printer_memory.h"
#include "printer/snmp_status.h"
#include "printer/transfer.h"
#include "settings/hidden_settings.h"
#include "settings/preferences.h"
#include "settings/printer_models.h"
#include "settings/printer_settings.h"
#include "settings/program_folders.h"
#include "settings/work_folder.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;
namespace s = orvella::settings;

constexpr int kUnknownPrinter = 2;

// The printer's list position, or nothing (with a message) when no record has the name.
std::optional<std::size_t> FindPrinter(const std::vector<s::PrinterSetting>& printers,
                                       const std::string& name) {
  for (std::size_t i = 0; i < printers.size(); ++i)
    if (printers[i].name == name) return i;
  std::cerr << "orvella: no printer named '" << name << "' in PRINTER.INI\n";
  return std::nullopt;
}

// The program folders, the SNMP library (its persistent folder is TEMP),
// before any thread starts, and a work folder of this run's own for the
// fetched printer files.
s::WorkFolder PrepareForPrinters(const std::filesystem::path& program) {
  s::CreateApplicationFolders(program);
  printer::InitSnmpLibrary(s::TempFolder(program));
  std::string detail;
  auto folder = s::WorkFolder::Create(program, detail);
  if (!folder) throw std::runtime_error(std::string(s::kWorkFolderError) + ": " + detail);
  return std::move(*folder);
}

printer::StatusPreferences ReadStatusPreferences(const std::filesystem::path& program) {
  return {.enablePanelOff = s::GetEnablePanelOff(program),
          .enableEnergySave = s::GetEnableEnergySave(program)};
}

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

int RunPrinterCheck(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {});
  const std::string& name = cli.Required(0, "NAME");
  const s::HiddenSettings hidden = s::LoadHiddenSettings(context.program);
  std::vector<s::PrinterSetting> printers = s::LoadPrinterSettings(context.program);
  const auto index = FindPrinter(printers, name);
  if (!index) return kUnknownPrinter;
  s::PrinterSetting& printer = printers[*index];
  if (const auto problem = printer::CheckPrinterAddress(printer)) {
    std::cout << Json{{"printer", printer.name},
                      {"address", base::FormatIpv4Address(printer.ipAddr)},
                      {"message", problem->message},
                      {"detail", problem->detail},
                      {"fit", false}}
                     .dump(2, ' ', false, Json::error_handler_t::replace)
              << "\n";
    return 1;
  }
  const s::WorkFolder work = PrepareForPrinters(context.program);

  // Each question is asked once, whatever the earlier answer was.
  std::string snmpDetail;
  const auto snmp = printer::QueryPrinterStatus(base::FormatIpv4Address(printer.ipAddr), 10000,
                                                hidden.printerSnmpPort, &snmpDetail);
  printer::FtpClient client;
  printer::SetUpStatusFetch(client, printer, hidden);
  const printer::StatusFileCheck stat =
      printer::CheckStatusFile(client, hidden, ReadStatusPreferences(context.program), work.Context());

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
  std::cout << result.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  return fit ? 0 : 1;
}

int RunSend(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {"printer"});
  const std::string& file = cli.Required(0, "FILE");
  const auto name = cli.Value("printer");
  if (!name) throw UsageError("missing --printer NAME");
  const s::HiddenSettings hidden = s::LoadHiddenSettings(context.program);
  const std::vector<s::PrinterSetting> printers = s::LoadPrinterSettings(context.program);
  const auto index = FindPrinter(printers, *name);
  if (!index) return kUnknownPrinter;
  const s::WorkFolder work = PrepareForPrinters(context.program);

  printer::PrinterMemoryTable memory;
  memory.Rebuild(printers.size(), hidden.maxMem, hidden.outPerSec);
  printer::TransferContext transfer(memory);
  transfer.printerIndex = *index;
  transfer.hidden = hidden;
  transfer.preferences = ReadStatusPreferences(context.program);
  transfer.folders = work.Context();
  transfer.showStatus = [](const std::string& text) { std::cout << text << std::endl; };
  base::Failure outcome;
  const bool sent = printer::SendPrintFile(file, printers[*index], "", outcome, transfer);
  std::cout << outcome.message << std::endl;
  // The cause goes beside the operator's lines, which stay as the job window shows them.
  if (!sent) std::cerr << "detail: " << outcome.detail << "\n";
  return sent ? 0 : 1;
}

const CommandRegistrar kPrinterCheck{
    {"printer-check", "NAME", &RunPrinterCheck,
     "Asks the printer NAME of PRINTER.INI everything a transfer asks, each question once: its\n"
     "state over SNMP, its status file over FTP and, for an A2-or-smaller printer with automatic\n"
     "trays, its tray information. Prints JSON (\"snmp\", \"stat\", \"trays\", \"fit\"); exit 0\n"
     "when the printer could print now. Nothing is printed on it."}};
const CommandRegistrar kSend{{"tool send", "FILE --printer NAME", &RunSend,
                              "Sends the print file FILE to the printer NAME with the whole transfer\n"
                              "procedure (memory wait, SNMP and status checks, upload), showing each step\n"
                              "and then the message. The printer prints it."}};

}  // namespace
}  // namespace orvella::cli
