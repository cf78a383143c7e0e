#pragma once
// The checks `settings apply` makes before it writes anything: each record
// through the checks of its edit dialog, with the other records of its list
// for the duplicate checks, and the names an input folder refers to.
#include <filesystem>
#include <string>
#include <vector>

#include "settings/fold_settings.h"
#include "settings/folder_models.h"
#include "settings/input_settings.h"
#include "settings/preferences.h"
#include "settings/printer_settings.h"
#include "settings/stamp_settings.h"

namespace orvella::cli {

// The lists as they are to be written (the loaded list where the JSON leaves
// a member out).
struct SettingsLists {
  std::vector<settings::InputFolderSetting> inputs;
  std::vector<settings::PrinterSetting> printers;
  std::vector<settings::FoldSetting> folds;
  settings::StampList stamps;
  settings::Preferences preferences;
};

// One line per failure, "<record>, <INI key>: <message>", the dialog's
// message (and its detail in brackets) where the dialog has one; empty when
// every record passes. program: the folder the settings are for;
// networkShortcuts: the folder no input folder may lie in (ProcessFolders).
std::vector<std::string> CheckSettingsLists(const SettingsLists& lists,
                                            const std::vector<settings::FolderModel>& units,
                                            const std::filesystem::path& program,
                                            const std::filesystem::path& networkShortcuts);

// Where each list is kept and what one record of it is called.
struct RecordKind {
  const char* file;
  const char* kind;
};
inline constexpr RecordKind kInputKind{"INI/INPUT.INI", "input"};
inline constexpr RecordKind kPrinterKind{"INI/PRINTER.INI", "printer"};
inline constexpr RecordKind kFoldKind{"INI/FOLD.INI", "fold"};
inline constexpr RecordKind kStampKind{"INI/STAMP.INI", "stamp"};
inline constexpr char kPreferenceFile[] = "INI/PREFERENCE.INI";

// "INI/PRINTER.INI: printer 2 (\"製図室\")": a record by its position in the
// JSON array (also the N of its section, PRINTER_N) and its name.
std::string RecordWhere(const RecordKind& kind, size_t index, const std::string& name);

}  // namespace orvella::cli
