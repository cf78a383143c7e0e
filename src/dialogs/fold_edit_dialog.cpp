#include "dialogs/fold_edit_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/text_codec.h"
#include "dialogs/dialog_messages.h"
#include "dialogs/field_focus.h"
#include "dialogs/qt_text.h"
#include "dialogs/up_down_edit.h"
#include "dialogs/window_position.h"
#include "settings/fold_validation.h"
#include "settings/settings_error.h"
#include "settings/window_settings.h"

namespace orvella::dialogs {
namespace {

using settings::FoldSetting;
constexpr int kNameMaxChars = 50;
constexpr int kMarginMaxDigits = 3;
constexpr std::string_view kSection = settings::window_section::kFoldEdit;

std::vector<settings::FolderModel> LoadUnits(const std::filesystem::path& program) {
  try {
    settings::CreateFolderModelFile(program);
    return settings::LoadFolderModels(program);
  } catch (const settings::SettingsError&) {
    // The unit every installation has, so that the dialog still works.
    return {settings::Fld2DefaultFolderModel()};
  }
}

QString FoldTypeName(int foldType) {
  if (foldType < 0 || foldType >= settings::kFoldTypeCount) return {};
  return ToQ(settings::kFoldTypes[static_cast<size_t>(foldType)].displayName);
}

// -1, "no margin", shows as an empty field.
QString MarginText(int margin) { return margin < 0 ? QString() : QString::number(margin); }

}  // namespace

FoldEditDialog::FoldEditDialog(QWidget* parent, const std::filesystem::path& program,
                               DialogMessages& messages, const FoldSetting& fold,
                               const std::vector<FoldSetting>& list, std::optional<size_t> editedIndex)
    : QDialog(parent),
      program_(program),
      messages_(messages),
      list_(list),
      editedIndex_(editedIndex),
      fold_(fold),
      units_(LoadUnits(program)) {
  setWindowTitle("紙折編集");
  unit_ = new QComboBox(this);
  unit_->setObjectName("folderModel");
  for (int i = 0; i < static_cast<int>(units_.size()); ++i)
    unit_->addItem(ToQ(settings::FolderDisplayName(program, i)), i);
  SelectData(*unit_, fold_.folderModel);

  name_ = new QLineEdit(ToQ(fold_.name), this);
  name_->setObjectName("name");
  name_->setMaxLength(kNameMaxChars);

  slots_ = new QTreeWidget(this);
  slots_->setObjectName("slots");
  slots_->setRootIsDecorated(false);
  slots_->setHeaderLabels({"用紙", "紙折種類", "綴じ代"});
  slots_->setColumnWidth(0, 70);
  slots_->setColumnWidth(1, 170);
  for (const settings::FoldSizeSlot& slot : settings::kFoldSizeSlots)
    new QTreeWidgetItem(slots_, {ToQ(slot.displayName)});
  for (int slot = 0; slot < settings::kFoldSlotCount; ++slot) ShowRow(slot);

  foldType_ = new QComboBox(this);
  foldType_->setObjectName("foldType");
  margin_ = new UpDownEdit(this, 0, 999);
  margin_->setObjectName("margin");
  margin_->edit()->setMaxLength(kMarginMaxDigits);
  margin_->edit()->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), margin_));
  marginRule_ = new QLabel(this);
  marginRule_->setObjectName("marginRule");

  auto* top = new QFormLayout;
  top->addRow("折り機：", unit_);
  top->addRow("設定名称：", name_);
  auto* slotFields = new QFormLayout;
  slotFields->addRow("紙折種類：", foldType_);
  auto* marginRow = new QHBoxLayout;
  marginRow->addWidget(margin_);
  marginRow->addWidget(new QLabel("mm", this));
  marginRow->addWidget(marginRule_, 1);
  slotFields->addRow("綴じ代：", marginRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(slots_);
  layout->addLayout(slotFields);
  layout->addWidget(buttons);
  resize(420, 400);

  connect(unit_, &QComboBox::currentIndexChanged, this, [this] { ChooseUnit(); });
  connect(slots_, &QTreeWidget::currentItemChanged, this, [this] { ShowSlot(); });
  connect(foldType_, &QComboBox::currentIndexChanged, this, [this] { ChooseFoldType(); });
  connect(margin_->edit(), &QLineEdit::textChanged, this, [this] { ChangeMargin(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  slots_->setCurrentItem(slots_->topLevelItem(0));
  RestoreDialogPosition(*this, program_, kSection);
  RestoreColumnWidths(*slots_, program_, kSection);
}

int FoldEditDialog::Slot() const {
  const int slot = slots_->indexOfTopLevelItem(slots_->currentItem());
  return slot < 0 ? 0 : slot;
}

void FoldEditDialog::ShowRow(int slot) {
  QTreeWidgetItem* item = slots_->topLevelItem(slot);
  item->setText(1, FoldTypeName(fold_.foldTypes[static_cast<size_t>(slot)]));
  item->setText(2, MarginText(fold_.margins[static_cast<size_t>(slot)]));
}

// The slot's controls: exactly the unit's fold types for it, its margin and
// the margin rule of its type.
void FoldEditDialog::ShowSlot() {
  const int slot = Slot();
  showing_ = true;
  foldType_->clear();
  const int unit = unit_->currentIndex();
  if (unit >= 0 && unit < static_cast<int>(units_.size())) {
    for (int type : units_[static_cast<size_t>(unit)].foldTypes[static_cast<size_t>(slot)])
      foldType_->addItem(FoldTypeName(type), type);
  }
  SelectData(*foldType_, fold_.foldTypes[static_cast<size_t>(slot)]);
  margin_->edit()->setText(MarginText(fold_.margins[static_cast<size_t>(slot)]));
  marginRule_->setText(ToQ(settings::FoldMarginRuleText(
      settings::FoldMarginRule(fold_.foldTypes[static_cast<size_t>(slot)], slot))));
  showing_ = false;
}

void FoldEditDialog::ChooseUnit() {
  if (showing_) return;
  fold_.folderModel = unit_->currentData().toInt();
  ShowSlot();
}

void FoldEditDialog::ChooseFoldType() {
  if (showing_ || foldType_->currentIndex() < 0) return;
  const int slot = Slot();
  fold_.foldTypes[static_cast<size_t>(slot)] = foldType_->currentData().toInt();
  marginRule_->setText(ToQ(settings::FoldMarginRuleText(
      settings::FoldMarginRule(fold_.foldTypes[static_cast<size_t>(slot)], slot))));
  ShowRow(slot);
}

void FoldEditDialog::ChangeMargin() {
  if (showing_) return;
  const int slot = Slot();
  const QString text = margin_->edit()->text();
  fold_.margins[static_cast<size_t>(slot)] = text.isEmpty() ? -1 : text.toInt();
  ShowRow(slot);
}

void FoldEditDialog::Close() {
  SaveDialogPosition(*this, program_, kSection);
  SaveColumnWidths(*slots_, program_, kSection);
}

void FoldEditDialog::accept() {
  fold_.name = base::TrimNameBlanks(FromQ(name_->text()));
  if (auto failure = settings::ValidateFoldSetting(fold_, list_, editedIndex_, units_)) {
    QWidget* field = name_;
    if (failure->field != settings::FoldField::kName) {
      slots_->setCurrentItem(slots_->topLevelItem(failure->row));
      field = failure->field == settings::FoldField::kFoldType ? static_cast<QWidget*>(foldType_) : margin_;
    }
    ShowFieldFailure(messages_, failure->message, field);
    return;
  }
  Close();
  QDialog::accept();
}

void FoldEditDialog::reject() {
  Close();
  QDialog::reject();
}

bool EditFold(QWidget* parent, const std::filesystem::path& program, DialogMessages& messages,
              FoldSetting& fold, const std::vector<FoldSetting>& list, std::optional<size_t> editedIndex) {
  FoldEditDialog dialog(parent, program, messages, fold, list, editedIndex);
  if (dialog.exec() != QDialog::Accepted) return false;
  fold = dialog.Result();
  return true;
}

}  // namespace orvella::dialogs
