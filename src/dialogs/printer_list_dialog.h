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

// Edits one record in place; true on OK. The list and the record's own
// position (editing) serve the duplicate checks.
using PrinterEditor =
    std::function<bool(QWidget* parent, settings::PrinterSetting& printer,
                       const std::vector<settings::PrinterSetting>& list, std::optional<size_t> editedIndex)>;

class PrinterListDialog : public RecordListDialog {
 public:
  // Loads the file; a failed load is reported and Loaded() is false. Without
  // an editor the printer edit dialog is used.
  PrinterListDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                    PrinterEditor editor = {});
  bool Loaded() const { return loaded_; }
  const std::vector<settings::PrinterSetting>& Printers() const { return printers_; }

  // The buttons' actions, public so that tests need not click.
  void New() override;
  void Edit(int row) override;
  void Delete(int row) override;

 private:
  void ShowRow(int row);
  void Save();

  DialogMessages& messages_;
  PrinterEditor editor_;
  std::vector<settings::PrinterSetting> printers_;
  bool loaded_ = false;
};

// Opens the list modally; returns when it is closed.
void ShowPrinterList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
