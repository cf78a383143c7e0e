#pragma once
// The fold list ("紙折一覧"): owns FOLD.INI while open and saves the whole
// file after every change.
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "dialogs/record_list_dialog.h"
#include "settings/fold_settings.h"

namespace orvella::dialogs {

class DialogMessages;

using FoldEditor = EditableRecordList<settings::FoldSetting>::Editor;

class FoldListDialog : public EditableRecordList<settings::FoldSetting> {
 public:
  // Loads the file; Loaded() is false when that failed (the list then
  // closes without a message). Without an editor the fold edit dialog is used.
  FoldListDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                 FoldEditor editor = {});

 private:
  void ShowRow(int row) override;
  void Save() override;
  bool ConfirmDelete(const std::string& name) override;
  // Input folders that use the fold lose it (INPUT.INI is saved).
  void Forget(const std::string& name) override;

  DialogMessages& messages_;
};

void ShowFoldList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
