#include "settings/printer_validation.h"

#include "base/text_codec.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kNameEmpty = "プリンタ設定名称を入力してください。";
constexpr std::string_view kAddressTaken = "入力されたIPアドレスは既に登録されています。";

using Failure = ValidationFailure<PrinterField>;

}  // namespace

std::optional<Failure> ValidatePrinterSetting(PrinterSetting& printer,
                                              const std::vector<PrinterSetting>& list,
                                              std::optional<size_t> editedIndex) {
  printer.name = base::TrimNameBlanks(printer.name);
  if (auto message = CheckSettingName(printer.name, kPrinterNameMaxBytes, kNameEmpty)) {
    return Failure{*message, PrinterField::kName};
  }
  const std::pair<const std::string*, PrinterField> texts[] = {
      {&printer.a2PrinterName, PrinterField::kA2PrinterName},
      {&printer.loginUsername, PrinterField::kLoginUsername},
      {&printer.loginPassword, PrinterField::kLoginPassword}};
  for (const auto& [text, field] : texts) {
    if (auto message = CheckStorableText(*text)) return Failure{*message, field};
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (editedIndex && *editedIndex == i) continue;
    if (list[i].name == printer.name) return Failure{std::string(kSettingNameTaken), PrinterField::kName};
    if (list[i].ipAddr == printer.ipAddr) return Failure{std::string(kAddressTaken), PrinterField::kIpAddr};
  }
  return std::nullopt;
}

}  // namespace orvella::settings
