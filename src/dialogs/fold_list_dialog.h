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

// Edits one record in place; true on OK.
using FoldEditor =
    std::function<bool(QWidget* parent, settings::FoldSetting& fold,
                       const std::vector<settings::FoldSetting>& list, std::optional<size_t> editedIndex)>;

class FoldListDialog : public RecordListDialog {
 public:
  // Loads the file; Loaded() is false when that failed (the list then
  // closes without a message). Without an editor the fold edit dialog is used.
  FoldListDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                 FoldEditor editor = {});
  bool Loaded() const { return loaded_; }

  void New() override;
  void Edit(int row) override;
  // Input folders that use the fold lose it first (INPUT.INI is saved).
  void Delete(int row) override;

 private:
  void ShowRow(int row);
  void Save();

  DialogMessages& messages_;
  FoldEditor editor_;
  std::vector<settings::FoldSetting> folds_;
  bool loaded_ = false;
};

void ShowFoldList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
