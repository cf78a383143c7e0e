#pragma once
// The printer check of a printer of PRINTER.INI as JSON: orvella
// printer-check prints it; the status page shows it.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "printer/printer_check.h"
#include "settings/work_folder.h"

namespace orvella::cli {

// nullopt when PRINTER.INI has no printer named name. Throws when the
// settings cannot be read or the check gets no work folder.
std::optional<printer::PrinterCheck> CheckNamedPrinter(const std::filesystem::path& program,
                                                       const std::string& name);

// "printer", "address", then "message" and "detail" for a printer not asked,
// else "snmp", "stat" and "trays"; last "fit".
nlohmann::ordered_json PrinterCheckJson(const printer::PrinterCheck& check);

// The program folders and a work folder of this check's own for the
// fetched printer files.
settings::WorkFolder PrepareForPrinters(const std::filesystem::path& program);

}  // namespace orvella::cli
