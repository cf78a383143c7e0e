#include "dialogs/record_list_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/window_position.h"

namespace orvella::dialogs {

RecordListDialog::RecordListDialog(QWidget* parent, const std::filesystem::path& program, std::string section,
                                   const QString& title, const QStringList& columns, bool keepsSize)
    : QDialog(parent),
      program_(program),
      section_(std::move(section)),
      keepsSize_(keepsSize),
      list_(new QTreeWidget(this)),
      buttons_(new QVBoxLayout) {
  setWindowTitle(title);
  list_->setObjectName("list");
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels(columns);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* newButton = new QPushButton("新規", this);
  edit_ = new QPushButton("編集", this);
  delete_ = new QPushButton("削除", this);
  auto* close = new QPushButton("閉じる", this);
  newButton->setObjectName("new");
  edit_->setObjectName("edit");
  delete_->setObjectName("delete");
  close->setObjectName("close");

  for (QPushButton* b : {newButton, edit_, delete_}) buttons_->addWidget(b);
  buttons_->addStretch();
  buttons_->addWidget(close);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons_);
  resize(460, 300);

  connect(newButton, &QPushButton::clicked, this, [this] { New(); });
  connect(edit_, &QPushButton::clicked, this, [this] {
    if (SelectedRow() >= 0) Edit(SelectedRow());
  });
  connect(delete_, &QPushButton::clicked, this, [this] {
    if (SelectedRow() >= 0) Delete(SelectedRow());
  });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { Edit(list_->indexOfTopLevelItem(item)); });
  UpdateButtons();
}

void RecordListDialog::RestoreLayout() {
  if (keepsSize_)
    RestoreWindowPlacement(*this, program_, section_);
  else
    RestoreDialogPosition(*this, program_, section_);
  RestoreColumnWidths(*list_, program_, section_);
}

void RecordListDialog::reject() {
  if (keepsSize_)
    SaveWindowPlacement(*this, program_, section_);
  else
    SaveDialogPosition(*this, program_, section_);
  SaveColumnWidths(*list_, program_, section_);
  QDialog::reject();
}

void RecordListDialog::SetRow(int row, const QStringList& texts) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (!item) item = new QTreeWidgetItem(list_);
  for (int i = 0; i < texts.size(); ++i) item->setText(i, texts[i]);
}

void RecordListDialog::RemoveRow(int row) {
  delete list_->takeTopLevelItem(row);
  UpdateButtons();
}

void RecordListDialog::AddButton(QPushButton* button) {
  // Before the stretch and Close.
  buttons_->insertWidget(buttons_->count() - 2, button);
}

int RecordListDialog::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void RecordListDialog::UpdateButtons() {
  const bool selected = SelectedRow() >= 0;
  edit_->setEnabled(selected);
  delete_->setEnabled(selected);
}

}  // namespace orvella::dialogs
