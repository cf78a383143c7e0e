#include "settings/printer_validation.h"

#include "base/ipv4_address.h"
#include "base/text_codec.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kNameEmpty = "プリンタ設定名称を入力してください。";
constexpr std::string_view kAddressTaken = "入力されたIPアドレスは既に登録されています。";
constexpr std::string_view kAddressInvalid = "IPアドレスが正しくありません。";

using Failure = ValidationFailure<PrinterField>;

}  // namespace

std::optional<Failure> ValidatePrinterSetting(const PrinterSetting& printer,
                                              const std::vector<PrinterSetting>& list,
                                              std::optional<size_t> editedIndex) {
  const std::string name = base::TrimNameBlanks(printer.name);
  if (auto message = CheckSettingName(name, kPrinterNameMaxBytes, kNameEmpty)) {
    return Failure{*message, PrinterField::kName};
  }
  const std::pair<const std::string*, PrinterField> texts[] = {
      {&printer.a2PrinterName, PrinterField::kA2PrinterName},
      {&printer.loginUsername, PrinterField::kLoginUsername},
      {&printer.loginPassword, PrinterField::kLoginPassword}};
  for (const auto& [text, field] : texts) {
    if (auto message = CheckStorableText(*text)) return Failure{*message, field};
  }
  // 0.0.0.0 (also what a missing address reads as), multicast and broadcast
  // addresses would send jobs to the wrong machine or to none.
  if (!base::IsUnicastAddress(printer.ipAddr))
    return Failure{std::string(kAddressInvalid), PrinterField::kIpAddr};
  for (size_t i = 0; i < list.size(); ++i) {
    if (editedIndex && *editedIndex == i) continue;
    if (list[i].name == name) return Failure{std::string(kSettingNameTaken), PrinterField::kName};
    if (list[i].ipAddr == printer.ipAddr) return Failure{std::string(kAddressTaken), PrinterField::kIpAddr};
  }
  return std::nullopt;
}

}  // namespace orvella::settings
