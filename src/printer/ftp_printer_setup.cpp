#include "printer/ftp_printer_setup.h"

#include "printer/printer_timings.h"

namespace orvella::printer {

void SetUpForPrinter(FtpClient& client, const settings::PrinterSetting& printer,
                     const settings::HiddenSettings& hidden) {
  const bool basic = printer.authenticationMode == settings::AuthenticationMode::kBasic;
  client.SetHost(base::FormatIpv4Address(printer.ipAddr));
  client.SetUserName(basic ? printer.loginUsername : "anonymous");
  client.SetPassword(basic ? printer.loginPassword : "anonymous");
  client.passive = 1;
  client.port = hidden.printerFtpPort;
  client.retryWait = kPrinterRetryWaitMs;
}

}  // namespace orvella::printer
