#pragma once
// The printer list ("プリンタ一覧"): owns PRINTER.INI while open and saves
// the whole file after every change.
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "dialogs/record_list_dialog.h"
#include "settings/printer_settings.h"

namespace orvella::dialogs {

class DialogMessages;

using PrinterEditor = EditableRecordList<settings::PrinterSetting>::Editor;

class PrinterListDialog : public EditableRecordList<settings::PrinterSetting> {
 public:
  // Loads the file; a failed load is reported and Loaded() is false. Without
  // an editor the printer edit dialog is used.
  PrinterListDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                    PrinterEditor editor = {});

 private:
  void ShowRow(int row) override;
  void Save() override;
  // Input folders keep the name: starting operation reports the missing printer.
  bool ConfirmDelete(const std::string& name) override;

  DialogMessages& messages_;
};

// Opens the list modally; returns when it is closed.
void ShowPrinterList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
