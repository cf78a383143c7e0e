#include "dialogs/stamp_list_dialog.h"

#include <QTreeWidget>

#include "dialogs/delete_question.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/qt_text.h"
#include "dialogs/stamp_edit_dialog.h"
#include "settings/input_settings.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::StampSetting;

constexpr const char* kClearFailed = "入力設定で使用されているスタンプを削除できませんでした。";
constexpr const char* kDeleteUsed =
    "選択されたスタンプ設定を削除します。よろしいですか？\nこの設定は入力フォルダ \"%s\" "
    "で使用されています。";
constexpr const char* kDelete = "選択されたスタンプ設定を削除します。\nよろしいですか？";

}  // namespace

StampListDialog::StampListDialog(QWidget* parent, const std::filesystem::path& program,
                                 DialogMessages& messages, StampEditor editor)
    : EditableRecordList(parent, program, std::string(settings::window_section::kStampList), "スタンプ一覧",
                         {"設定名称", "種類"}, std::move(editor), true),
      messages_(messages) {
  if (!editor_) {
    editor_ = [this](QWidget* owner, StampSetting& stamp, const settings::StampList& stamps,
                     std::optional<size_t> editing) {
      return EditStamp(owner, this->program(), messages_, stamp, stamps, editing);
    };
  }
  list()->setColumnWidth(0, 180);
  RestoreLayout();
  try {
    Take(settings::LoadStamps(program));
  } catch (const settings::SettingsError& e) {
    messages_.Warning(e.what());
  }
}

void StampListDialog::ShowRow(int row) {
  const StampSetting& stamp = records_[static_cast<size_t>(row)];
  const auto type = static_cast<size_t>(stamp.type);
  const QString typeText =
      type < settings::kStampTypeNames.size() ? ToQ(settings::kStampTypeNames[type].display) : "";
  SetRow(row, {ToQ(stamp.name), typeText});
}

void StampListDialog::Save() {
  try {
    settings::SaveStamps(program(), records_);
  } catch (const settings::SettingsError& e) {
    messages_.Warning(e.what());
  }
}

bool StampListDialog::ConfirmDelete(const std::string& name) {
  return messages_.Question(
      DeleteQuestion(program(), name, settings::FindInputByStamp, kDelete, kDeleteUsed));
}

void StampListDialog::Forget(const std::string& name) {
  try {
    settings::ForgetStampInInputs(program(), name);
  } catch (const settings::SettingsError&) {
    messages_.Warning(kClearFailed);
  }
}

void ShowStampList(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages) {
  StampListDialog dialog(parent, program, messages);
  if (dialog.Loaded()) dialog.exec();
}

}  // namespace orvella::dialogs
