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

using StampEditor = EditableRecordList<settings::StampSetting>::Editor;

class StampListDialog : public EditableRecordList<settings::StampSetting> {
 public:
  // Loads the file; a failed load is reported and Loaded() is false. Without
  // an editor the stamp edit window is used.
  StampListDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                  StampEditor editor = {});

 private:
  settings::StampSetting NewRecord() const override { return settings::NewStamp(); }
  void ShowRow(int row) override;
  void Save() override;
  bool ConfirmDelete(const std::string& name) override;
  // Input folders that use the stamp lose it (INPUT.INI is saved).
  void Forget(const std::string& name) override;

  DialogMessages& messages_;
};

void ShowStampList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages);

}  // namespace orvella::dialogs
