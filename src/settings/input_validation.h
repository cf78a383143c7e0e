#pragma once
// Checks the input folder dialog runs when OK is pressed. Each returns the
// first failure (message and the field to focus) or nothing.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/input_settings.h"
#include "settings/validation.h"

namespace orvella::settings {

// kMagnification comes with the input size row in ValidationFailure::row.
enum class InputField { kInputDir, kWidePrinter, kQuantity, kMagnification };

// What the general page holds when OK is pressed.
struct InputGeneralForm {
  std::string inputDir;
  std::string widePrinterName;
  std::string a2PrinterName;
  std::string quantityText;
};

// editedIndex: the record being edited (its own folder does not count as a
// duplicate); nullopt for a new record. networkShortcuts: the folder whose
// contents may not be watched (ProcessFolders::networkShortcuts). program: the
// program folder, which may not be watched nor anything inside it (its own
// files would be printed and deleted).
std::optional<ValidationFailure<InputField>> ValidateInputGeneral(
    const InputGeneralForm& form, const std::vector<InputFolderSetting>& all,
    std::optional<size_t> editedIndex, const std::filesystem::path& networkShortcuts,
    const std::filesystem::path& program);

// Only rows set to percentage are checked, and only when output settings are used.
std::optional<ValidationFailure<InputField>> ValidateOutputSettings(
    bool useOutputSetting, const std::array<OutputTarget, kInputSizeCount>& targets,
    const std::array<std::string, kInputSizeCount>& magnificationTexts);

}  // namespace orvella::settings
