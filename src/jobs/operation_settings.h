#pragma once
// Every settings list the start of operation loads, held as one value: the
// scan, the worker and the conversions read it, and a start replaces it whole
// (a running job keeps the value it started with).
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/fold_settings.h"
#include "settings/hidden_settings.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/stamp_settings.h"

namespace orvella::jobs {

struct OperationSettings {
  settings::Preferences preferences;
  settings::HiddenSettings hidden;
  settings::StampList stamps;
  std::vector<settings::InputFolderSetting> inputs;
  std::vector<settings::PrinterSetting> printers;
  std::vector<settings::FoldSetting> folds;
};

// Loads the preferences, the hidden settings, the stamps, the input folders,
// the printers and the folds, in that order. Raises SettingsError when a file
// exists but cannot be read.
OperationSettings LoadOperationSettings(const std::filesystem::path& program);

// The printer of that exact name and its position in the printer list (its
// memory entry); nullptr when there is none or the name is empty.
const settings::PrinterSetting* FindPrinter(const OperationSettings& settings, const std::string& name,
                                            std::size_t* index = nullptr);

}  // namespace orvella::jobs
