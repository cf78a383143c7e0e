#pragma once
// A printer whose stored address cannot be a printer's: an unreadable
// IP_ADDR reads as 0.0.0.0, and talking to that reaches the local machine.
#include <optional>
#include <string>

#include "settings/printer_settings.h"

namespace orvella::printer {

struct AddressProblem {
  std::string message;  // "プリンタIPアドレスエラー[<name>]"
  std::string detail;   // plain English: the printer and what is wrong with its address
};

// Nothing when the printer's address is a unicast IPv4 address.
std::optional<AddressProblem> CheckPrinterAddress(const settings::PrinterSetting& printer);

}  // namespace orvella::printer
