#include "dialogs/fold_list_dialog.h"

#include <QTreeWidget>

#include "dialogs/delete_question.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/fold_edit_dialog.h"
#include "dialogs/qt_text.h"
#include "settings/input_settings.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::FoldSetting;

constexpr const char* kSaveFailed = "紙折設定の保存に失敗しました。";
constexpr const char* kClearFailed = "入力設定で使用されている紙折を削除できませんでした。";
constexpr const char* kDeleteUsed =
    "選択された紙折設定を削除します。よろしいですか？\nこの設定は入力フォルダ \"%s\" で使用されています。";
constexpr const char* kDelete = "選択された紙折設定を削除します。\nよろしいですか？";

// Clears the fold name wherever an input folder uses it; false when INPUT.INI
// could not be read or written.
bool ClearFoldReferences(const std::filesystem::path& program, const std::string& name) {
  try {
    auto inputs = settings::LoadInputSettings(program);
    bool changed = false;
    for (settings::InputFolderSetting& input : inputs) {
      if (input.wideFoldName != name) continue;
      input.wideFoldName.clear();
      changed = true;
    }
    if (changed) settings::SaveInputSettings(program, inputs);
    return true;
  } catch (const settings::SettingsError&) {
    return false;
  }
}

}  // namespace

FoldListDialog::FoldListDialog(QWidget* parent, const std::filesystem::path& program,
                               DialogMessages& messages, FoldEditor editor)
    : RecordListDialog(parent, program, std::string(settings::window_section::kFoldList), "紙折一覧",
                       {"設定名称", "折り機"}),
      messages_(messages),
      editor_(std::move(editor)) {
  if (!editor_) {
    editor_ = [this](QWidget* owner, FoldSetting& fold, const std::vector<FoldSetting>& list,
                     std::optional<size_t> index) {
      return EditFold(owner, this->program(), messages_, fold, list, index);
    };
  }
  list()->setColumnWidth(0, 180);
  RestoreLayout();
  try {
    loaded_ = settings::LoadFolds(program, folds_);
  } catch (const settings::SettingsError&) {
    loaded_ = false;
  }
  if (!loaded_) return;
  for (int i = 0; i < static_cast<int>(folds_.size()); ++i) ShowRow(i);
}

void FoldListDialog::ShowRow(int row) {
  const FoldSetting& fold = folds_[static_cast<size_t>(row)];
  SetRow(row, {ToQ(fold.name), ToQ(settings::FolderDisplayName(program(), fold.folderModel))});
}

void FoldListDialog::Save() {
  bool saved = false;
  try {
    saved = settings::SaveFolds(program(), folds_);
  } catch (const settings::SettingsError&) {
  }
  if (!saved) messages_.Warning(kSaveFailed);
}

void FoldListDialog::New() {
  FoldSetting fold;
  if (!editor_(this, fold, folds_, std::nullopt)) return;
  folds_.push_back(fold);
  ShowRow(static_cast<int>(folds_.size()) - 1);
  Save();
}

void FoldListDialog::Edit(int row) {
  FoldSetting fold = folds_[static_cast<size_t>(row)];
  if (!editor_(this, fold, folds_, static_cast<size_t>(row))) return;
  folds_[static_cast<size_t>(row)] = fold;
  ShowRow(row);
  Save();
}

void FoldListDialog::Delete(int row) {
  const std::string name = folds_[static_cast<size_t>(row)].name;
  if (!messages_.Question(DeleteQuestion(program(), name, settings::FindInputByFold, kDelete, kDeleteUsed)))
    return;
  if (!ClearFoldReferences(program(), name)) messages_.Warning(kClearFailed);
  folds_.erase(folds_.begin() + row);
  RemoveRow(row);
  Save();
}

void ShowFoldList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages) {
  FoldListDialog dialog(parent, program, messages);
  if (dialog.Loaded()) dialog.exec();
}

}  // namespace orvella::dialogs
