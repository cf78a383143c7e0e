#include "printer/printer_check.h"

#include <algorithm>

#include "base/ipv4_address.h"
#include "printer/ftp_client.h"
#include "printer/info_file.h"
#include "printer/printer_address.h"
#include "settings/preferences.h"
#include "settings/printer_models.h"
#include "settings/work_folder.h"

namespace orvella::printer {
namespace {

// The A2 trays the information file filled, up to the model's highest.
TrayAnswer AskTrays(settings::PrinterSetting printer, const settings::HiddenSettings& hidden,
                    const std::filesystem::path& work) {
  TrayAnswer answer;
  base::Failure failure;
  if (!ReadTrayInformation(printer, hidden, work, failure)) {
    answer.failure = std::move(failure);
    return answer;
  }
  const auto model = settings::PrinterModelInfo(printer.model);
  const int highest = std::min(model ? model->highestTray : settings::kA2TrayCount, settings::kA2TrayCount);
  answer.trays.assign(printer.a2Trays.begin(), printer.a2Trays.begin() + highest);
  return answer;
}

}  // namespace

bool PrinterCheck::Fit() const {
  return !notAsked && snmp.status == SnmpStatus::kNoError && stat.outcome.message == kTransferOk &&
         (!trays || !trays->failure);
}

PrinterCheck CheckPrinter(const settings::PrinterSetting& printer, const PrinterCheckContext& context) {
  PrinterCheck check;
  check.printer = printer.name;
  check.address = base::FormatIpv4Address(printer.ipAddr);
  if (const auto problem = CheckPrinterAddress(printer)) {
    check.notAsked = base::Failure{problem->message, problem->detail};
    return check;
  }
  std::string why;
  const auto work = settings::WorkFolder::Create(context.program, why);
  if (!work) {
    check.notAsked = base::Failure{settings::kWorkFolderError, why};
    return check;
  }

  check.snmp.status = QueryPrinterStatus(check.address, context.timings.snmpTimeoutMs,
                                         context.hidden.printerSnmpPort, &check.snmp.detail);
  FtpClient client;
  SetUpStatusFetch(client, printer, context.hidden, context.timings.statTimeoutMs);
  check.stat = CheckStatusFile(client, context.hidden, context.preferences, work->Context());
  if (!settings::IsWidePrinter(printer) && printer.a2TrayStructAuto)
    check.trays = AskTrays(printer, context.hidden, work->Path());
  return check;
}

StatusPreferences ReadStatusPreferences(const std::filesystem::path& program) {
  return {.enablePanelOff = settings::GetEnablePanelOff(program),
          .enableEnergySave = settings::GetEnableEnergySave(program)};
}

PrinterCheckContext LoadPrinterCheckContext(const std::filesystem::path& program) {
  return {.program = program,
          .hidden = settings::LoadHiddenSettings(program),
          .preferences = ReadStatusPreferences(program),
          .timings = {}};
}

}  // namespace orvella::printer
