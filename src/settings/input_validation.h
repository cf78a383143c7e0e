#pragma once
// Checks the input folder dialog runs when OK is pressed. Each returns the
// first failure (message and the field to focus) or nothing.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/input_settings.h"

namespace orvella::settings {

enum class InputField { kInputDir, kWidePrinter, kQuantity, kMagnification };

struct InputValidationIssue {
  std::string message;
  InputField field;
  int sizeIndex = -1;  // for kMagnification: the input size row
};

// What the general page holds when OK is pressed.
struct InputGeneralForm {
  std::string inputDir;
  std::string widePrinterName;
  std::string a2PrinterName;
  std::string quantityText;
};

// editedIndex: the record being edited (its own folder does not count as a
// duplicate); nullopt for a new record. networkShortcuts: the folder whose
// contents may not be watched (see NetworkShortcutsFolder).
std::optional<InputValidationIssue> ValidateInputGeneral(const InputGeneralForm& form,
                                                         const std::vector<InputFolderSetting>& all,
                                                         std::optional<size_t> editedIndex,
                                                         const std::filesystem::path& networkShortcuts);

// Only rows set to percentage are checked, and only when output settings are used.
std::optional<InputValidationIssue> ValidateOutputSettings(
    bool useOutputSetting, const std::array<OutputTarget, kInputSizeCount>& targets,
    const std::array<std::string, kInputSizeCount>& magnificationTexts);

// The user's network mount folder ($XDG_RUNTIME_DIR/gvfs), or empty.
std::filesystem::path NetworkShortcutsFolder();

}  // namespace orvella::settings
