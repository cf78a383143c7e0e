#include "dialogs/printer_check_text.h"

#include <string_view>
#include <vector>

#include "base/failure.h"
#include "dialogs/dialog_messages.h"

namespace orvella::dialogs {
namespace {

constexpr const char* kFit = "印刷可能";
constexpr const char* kUnfit = "印刷不可";
constexpr const char* kSnmpLabel = "SNMP: ";
constexpr const char* kStatusLabel = "ステータス: ";
constexpr const char* kTraysLabel = "トレイ: ";

// The answers in asking order, each a message for the operator and its cause;
// SNMP that found nothing wrong says nothing.
std::vector<base::Failure> Answers(const printer::PrinterCheck& check) {
  if (check.notAsked) return {{check.notAsked->message, check.notAsked->detail}};
  std::vector<base::Failure> answers;
  const std::string_view snmp = printer::SnmpStatusMessage(check.snmp.status);
  if (!snmp.empty()) answers.push_back({kSnmpLabel + std::string(snmp), "SNMP: " + check.snmp.detail});
  const base::Failure& stat = check.stat.outcome;
  answers.push_back({kStatusLabel + stat.message, stat.detail.empty() ? "" : "stat: " + stat.detail});
  if (check.trays && check.trays->failure) {
    const base::Failure& trays = *check.trays->failure;
    answers.push_back({kTraysLabel + trays.message, "info: " + trays.detail});
  }
  return answers;
}

}  // namespace

std::string PrinterCheckText(const printer::PrinterCheck& check) {
  const bool fit = check.Fit();
  std::string text = fit ? kFit : kUnfit;
  std::string details;
  for (const base::Failure& answer : Answers(check)) {
    text += "\n" + answer.message;
    if (!answer.detail.empty()) details += "\n" + answer.detail;
  }
  if (!fit && !details.empty()) text += kDetailHeading + details.substr(1);
  return text;
}

}  // namespace orvella::dialogs
