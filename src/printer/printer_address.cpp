#include "printer/printer_address.h"

#include "base/ipv4_address.h"

namespace orvella::printer {

std::optional<AddressProblem> CheckPrinterAddress(const settings::PrinterSetting& printer) {
  if (base::IsUnicastAddress(printer.ipAddr)) return std::nullopt;
  const std::string address = base::FormatIpv4Address(printer.ipAddr);
  std::string why =
      base::IsZeroAddress(printer.ipAddr)
          ? "0.0.0.0, which is what a missing or unreadable IP_ADDR in PRINTER.INI reads as"
          : address + ", which is not the address of one machine (0.x.x.x, multicast or broadcast)";
  return AddressProblem{"プリンタIPアドレスエラー[" + printer.name + "]",
                        "printer '" + printer.name + "' has the address " + why + "; nothing was sent to it"};
}

}  // namespace orvella::printer
