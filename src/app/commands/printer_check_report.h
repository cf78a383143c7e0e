#pragma once
// The printer check: everything a transfer asks a printer, each question
// once, as JSON. orvella printer-check prints it; the status page shows it.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "printer/transfer.h"
#include "settings/work_folder.h"

namespace orvella::cli {

struct PrinterCheckReport {
  nlohmann::ordered_json json;  // "printer", "address", "snmp", "stat", "trays", "fit"
  bool fit = false;             // the printer could print now
};

// nullopt when PRINTER.INI has no printer named name.
std::optional<PrinterCheckReport> CheckPrinter(const std::filesystem::path& program, const std::string& name);

// The program folders and a work folder of this check's own for the
// fetched printer files.
settings::WorkFolder PrepareForPrinters(const std::filesystem::path& program);

printer::StatusPreferences ReadStatusPreferences(const std::filesystem::path& program);

}  // namespace orvella::cli
