#pragma once
// The printer list ("プリンタ一覧"): owns PRINTER.INI while open and saves
// the whole file after every change. Check asks the selected printer what a
// transfer would ask and says the answer in a box.
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "dialogs/record_list_dialog.h"
#include "printer/printer_check.h"
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
  // Waits for a check in progress: bounded by the check's time-outs.
  ~PrinterListDialog() override;

 private:
  void ShowRow(int row) override;
  void Save() override;
  // Input folders keep the name: starting operation reports the missing printer.
  bool ConfirmDelete(const std::string& name) override;
  // Checks the printer of row, as the list shows it, on a thread of its own;
  // the window stays live and the answer comes back to ShowCheck.
  void Check(int row);
  void ShowCheck(const printer::PrinterCheck& check);
  void UpdateCheckButton();

  DialogMessages& messages_;
  QPushButton* check_;
  std::thread checker_;
};

// Opens the list modally; returns when it is closed.
void ShowPrinterList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
