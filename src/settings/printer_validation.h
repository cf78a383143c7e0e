#pragma once
// The checks of the printer edit dialog, run on OK; the first failure is shown.
#include <optional>
#include <vector>

#include "settings/printer_settings.h"
#include "settings/validation.h"

namespace orvella::settings {

enum class PrinterField { kName, kIpAddr, kLoginUsername, kLoginPassword, kA2PrinterName };

inline constexpr size_t kPrinterNameMaxBytes = 50;

// Checks the name as trimmed of leading and trailing ASCII and full-width
// spaces (base::TrimNameBlanks; the dialog stores it so): present, storable
// and at most 50 bytes; the other texts storable; the address a unicast IPv4
// address; then, for each other printer in list order, the same name and the
// same address. editedIndex is the record's own position when an existing
// record is edited.
std::optional<ValidationFailure<PrinterField>> ValidatePrinterSetting(const PrinterSetting& printer,
                                                                      const std::vector<PrinterSetting>& list,
                                                                      std::optional<size_t> editedIndex);

}  // namespace orvella::settings
