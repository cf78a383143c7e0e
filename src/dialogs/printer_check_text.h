#pragma once
// The answer of a printer check as the printer list's message box says it.
#include <string>

#include "printer/printer_check.h"

namespace orvella::dialogs {

// "印刷可能" or "印刷不可", then the messages the check gave, one a line, as
// the status page words them; when the printer could not print, the
// plain-English causes under the detail heading.
std::string PrinterCheckText(const printer::PrinterCheck& check);

}  // namespace orvella::dialogs
