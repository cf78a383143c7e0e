// orvella printer-check NAME: asks a configured printer what a job would ask.
// orvella tool send FILE --printer NAME: one transfer of a print file.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/printer_check_report.h"
#include "printer/printer_memory.h"
#include "printer/transfer.h"
#include "settings/hidden_settings.h"
#include "settings/printer_settings.h"
#include "settings/work_folder.h"

namespace orvella::cli {
namespace {

using Json = nlohmann::ordered_json;
namespace s = orvella::settings;

constexpr int kUnknownPrinter = 2;

void SayUnknownPrinter(const std::string& name) {
  std::cerr << "orvella: no printer named '" << name << "' in PRINTER.INI\n";
}

// The printer's list position, or nothing (with a message) when no record has the name.
std::optional<std::size_t> FindPrinter(const std::vector<s::PrinterSetting>& printers,
                                       const std::string& name) {
  for (std::size_t i = 0; i < printers.size(); ++i)
    if (printers[i].name == name) return i;
  SayUnknownPrinter(name);
  return std::nullopt;
}

int RunPrinterCheck(const CommandContext& context, const std::vector<std::string>& args) {
  const CliArgs cli(args, 1, {});
  const std::string& name = cli.Required(0, "NAME");
  const auto check = CheckNamedPrinter(context.program, name);
  if (!check) {
    SayUnknownPrinter(name);
    return kUnknownPrinter;
  }
  std::cout << PrinterCheckJson(*check).dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  return check->Fit() ? 0 : 1;
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
  transfer.preferences = printer::ReadStatusPreferences(context.program);
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
