#include "settings/printer_models.h"

namespace orvella::settings {

std::optional<PrinterModel> PrinterModelInfo(int model) {
  if (model < 0 || static_cast<size_t>(model) >= kPrinterModels.size()) return std::nullopt;
  return kPrinterModels[static_cast<size_t>(model)];
}

std::optional<int> PrinterModelFromKey(std::string_view text) {
  for (size_t i = 0; i < kPrinterModels.size(); ++i)
    if (kPrinterModels[i].key == text) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace orvella::settings
