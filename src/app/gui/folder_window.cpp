#include "app/gui/folder_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/command_menu.h"
#include "app/gui/gui_icons.h"
#include "app/gui/gui_texts.h"
#include "app/gui/minimise_as_close.h"

namespace orvella::cli {

FolderWindow::FolderWindow(const QString& title)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      title_(title),
      list_(new QTreeWidget(this)) {
  setWindowTitle(title);
  setWindowIcon(ProgramIcon());
  setModal(false);
  resize(480, 300);

  auto* bar = new QMenuBar(this);
  QMenu* file = AddMenu(*bar, gui_text::kFileMenu);
  AddCommand(*file, CommandId::kPreference, gui_text::kPreference);
  file->addSeparator();
  AddCommand(*file, CommandId::kNewFolder, gui_text::kNewFolder);
  AddCommand(*file, CommandId::kEditFolder, gui_text::kEditFolder);
  AddCommand(*file, CommandId::kDeleteFolder, gui_text::kDeleteFolder);
  file->addSeparator();
  AddCommand(*file, CommandId::kPrinters, gui_text::kPrinters);
  AddCommand(*file, CommandId::kStamps, gui_text::kStamps);
  AddCommand(*file, CommandId::kFolds, gui_text::kFolds);
  file->addSeparator();
  AddCommand(*file, CommandId::kClose, gui_text::kClose);
  QMenu* help = AddMenu(*bar, gui_text::kHelpMenu);
  AddCommand(*help, CommandId::kHelp, gui_text::kHelp)->setShortcut(QKeySequence(Qt::Key_F1));
  help->addSeparator();
  AddCommand(*help, CommandId::kVersion, gui_text::kVersion);

  list_->setColumnCount(2);
  list_->setHeaderLabels(
      {QString::fromUtf8(gui_text::kInputFolderColumn), QString::fromUtf8(gui_text::kMemoColumn)});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->header()->setStretchLastSection(false);
  list_->header()->resizeSection(0, 160);
  list_->header()->resizeSection(1, 200);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &FolderWindow::UpdateButtons);
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          [this] { emit CommandChosen(CommandId::kEditFolder); });

  // The list stretches with the window; the buttons stay on its right edge.
  auto* buttons = new QVBoxLayout;
  AddButton(*buttons, gui_text::kNewButton, CommandId::kNewFolder);
  edit_ = AddButton(*buttons, gui_text::kEditButton, CommandId::kEditFolder);
  delete_ = AddButton(*buttons, gui_text::kDeleteButton, CommandId::kDeleteFolder);
  buttons->addStretch(1);
  AddButton(*buttons, gui_text::kCloseButton, CommandId::kClose);
  auto* body = new QHBoxLayout(this);
  body->setMenuBar(bar);
  body->addWidget(list_, 1);
  body->addLayout(buttons);
  UpdateButtons();
}

QMenu* FolderWindow::AddMenu(QMenuBar& bar, const char* title) {
  QMenu* menu = bar.addMenu(QString::fromUtf8(title));
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { emit MenuOpening(menu); });
  connect(menu, &QMenu::triggered, this, [this](QAction* action) {
    if (const auto id = CommandOf(*action)) emit CommandChosen(*id);
  });
  return menu;
}

QPushButton* FolderWindow::AddButton(QBoxLayout& layout, const char* text, CommandId id) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, id] { emit CommandChosen(id); });
  layout.addWidget(button);
  return button;
}

void FolderWindow::SetFolders(const std::vector<std::pair<std::string, std::string>>& rows) {
  list_->clear();
  for (const auto& [folder, memo] : rows) {
    new QTreeWidgetItem(list_, {QString::fromStdString(folder), QString::fromStdString(memo)});
  }
  UpdateButtons();
}

void FolderWindow::RemoveRow(int row) {
  delete list_->takeTopLevelItem(row);
  UpdateButtons();
}

int FolderWindow::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void FolderWindow::SetTitleSuffix(const QString& suffix) { setWindowTitle(title_ + suffix); }

void FolderWindow::UpdateButtons() {
  const bool selected = SelectedRow() >= 0;
  edit_->setEnabled(selected);
  delete_->setEnabled(selected);
}

void FolderWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (minimiseCloses_) TakeMinimiseAsClose(*this, *event, [this] { emit CommandChosen(CommandId::kClose); });
}

void FolderWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit CommandChosen(CommandId::kClose);
}

// Escape closes the window like the close command; it never ends a dialog
// result.
void FolderWindow::reject() { emit CommandChosen(CommandId::kClose); }

}  // namespace orvella::cli
