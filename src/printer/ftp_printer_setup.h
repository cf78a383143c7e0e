#pragma once
// How every exchange with a printer sets up its FTP client.
#include "printer/ftp_client.h"
#include "settings/hidden_settings.h"
#include "settings/printer_settings.h"

namespace orvella::printer {

// The printer's address, its login (LOGIN_USERNAME and LOGIN_PASSWORD when
// AUTHENTICATION_MODE is BASIC, else anonymous/anonymous), passive mode and
// the FTP port of HIDDEN.INI and the pause before a further attempt. Remote
// and local file, attempts, time-out and callback are the caller's.
void SetUpForPrinter(FtpClient& client, const settings::PrinterSetting& printer,
                     const settings::HiddenSettings& hidden);

}  // namespace orvella::printer
