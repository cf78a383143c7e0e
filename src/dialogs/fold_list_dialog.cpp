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

}  // namespace

FoldListDialog::FoldListDialog(QWidget* parent, const std::filesystem::path& program,
                               DialogMessages& messages, FoldEditor editor)
    : EditableRecordList(parent, program, std::string(settings::window_section::kFoldList), "紙折一覧",
                         {"設定名称", "折り機"}, std::move(editor)),
      messages_(messages) {
  if (!editor_) {
    editor_ = [this](QWidget* owner, FoldSetting& fold, const std::vector<FoldSetting>& list,
                     std::optional<size_t> index) {
      return EditFold(owner, this->program(), messages_, fold, list, index);
    };
  }
  list()->setColumnWidth(0, 180);
  RestoreLayout();
  std::vector<FoldSetting> folds;
  try {
    if (settings::LoadFolds(program, folds)) Take(std::move(folds));
  } catch (const settings::SettingsError&) {
  }
}

void FoldListDialog::ShowRow(int row) {
  const FoldSetting& fold = records_[static_cast<size_t>(row)];
  SetRow(row, {ToQ(fold.name), ToQ(settings::FolderDisplayName(program(), fold.folderModel))});
}

void FoldListDialog::Save() {
  bool saved = false;
  try {
    saved = settings::SaveFolds(program(), records_);
  } catch (const settings::SettingsError&) {
  }
  if (!saved) messages_.Warning(kSaveFailed);
}

bool FoldListDialog::ConfirmDelete(const std::string& name) {
  return messages_.Question(DeleteQuestion(program(), name, settings::FindInputByFold, kDelete, kDeleteUsed));
}

void FoldListDialog::Forget(const std::string& name) {
  try {
    settings::ForgetFoldInInputs(program(), name);
  } catch (const settings::SettingsError&) {
    messages_.Warning(kClearFailed);
  }
}

void ShowFoldList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages) {
  FoldListDialog dialog(parent, program, messages);
  if (dialog.Loaded()) dialog.exec();
}

}  // namespace orvella::dialogs
