#pragma once
// The stamp list ("スタンプ一覧"): owns STAMP.INI while open and saves the
// whole file after every change.
#include <filesystem>
#include <functional>
#include <optional>

#include "dialogs/record_list_dialog.h"
#include "settings/stamp_settings.h"

namespace orvella::dialogs {

class DialogMessages;

// Edits one stamp in place; true on OK.
using StampEditor = std::function<bool(QWidget* parent, settings::StampSetting& stamp,
                                       const settings::StampList& stamps, std::optional<size_t> editing)>;

class StampListDialog : public RecordListDialog {
 public:
  // Loads the file; a failed load is reported and Loaded() is false. Without
  // an editor the stamp edit window is used.
  StampListDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                  StampEditor editor = {});
  bool Loaded() const { return loaded_; }

  void New() override;
  void Edit(int row) override;
  // Input folders that use the stamp lose it first (INPUT.INI is saved).
  void Delete(int row) override;

 private:
  void ShowRow(int row);
  void Save();

  DialogMessages& messages_;
  StampEditor editor_;
  settings::StampList stamps_;
  bool loaded_ = false;
};

void ShowStampList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
