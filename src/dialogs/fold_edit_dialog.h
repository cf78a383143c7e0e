#pragma once
// One fold record ("紙折編集"): per size slot, the fold type the chosen
// folding unit offers and the binding margin.
#include <QDialog>
#include <filesystem>
#include <optional>
#include <vector>

#include "settings/fold_settings.h"
#include "settings/folder_models.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace orvella::dialogs {

class DialogMessages;
class UpDownEdit;

class FoldEditDialog : public QDialog {
 public:
  // list and editedIndex (the record's own position when editing) serve the
  // duplicate check; both must outlive the dialog.
  FoldEditDialog(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
                 const settings::FoldSetting& fold, const std::vector<settings::FoldSetting>& list,
                 std::optional<size_t> editedIndex);

  const settings::FoldSetting& Result() const { return fold_; }

  void accept() override;
  void reject() override;

 private:
  int Slot() const;
  void ShowSlot();
  void ShowRow(int slot);
  void ChooseUnit();
  void ChooseFoldType();
  void ChangeMargin();
  void Close();

  std::filesystem::path program_;
  DialogMessages& messages_;
  const std::vector<settings::FoldSetting>& list_;
  std::optional<size_t> editedIndex_;
  settings::FoldSetting fold_;
  std::vector<settings::FolderModel> units_;
  bool showing_ = false;  // controls being filled, not edited

  QComboBox* unit_;
  QLineEdit* name_;
  QTreeWidget* slots_;
  QComboBox* foldType_;
  UpDownEdit* margin_;
  QLabel* marginRule_;
};

// Opens the dialog; true on OK with fold holding the edited values.
bool EditFold(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
              settings::FoldSetting& fold, const std::vector<settings::FoldSetting>& list,
              std::optional<size_t> editedIndex);

}  // namespace orvella::dialogs
