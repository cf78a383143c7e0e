#include "app/gui/job_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/gui/command_menu.h"
#include "app/gui/gui_icons.h"
#include "app/gui/gui_texts.h"
#include "app/gui/job_list_model.h"
#include "app/gui/minimise_as_close.h"

namespace orvella::cli {

namespace {

constexpr int kColumnWidths[] = {140, 200, 200, 200};
constexpr int kStatePartWidth = 112;
constexpr int kStateIconSize = 16;

}  // namespace

JobWindow::JobWindow(const QString& title, QAbstractItemModel& model)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      title_(title),
      list_(new QTreeView(this)),
      detail_(new QLabel(this)),
      stateIcon_(new QLabel(this)),
      stateText_(new QLabel(this)) {
  setWindowTitle(title);
  setWindowIcon(ProgramIcon());
  setMinimumSize(240, 120);
  resize(780, 400);

  // A flat list: no tree lines, fixed row height so long lists scroll cheaply.
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setItemsExpandable(false);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setModel(&model);
  list_->header()->setStretchLastSection(false);
  for (int i = 0; i < static_cast<int>(std::size(kColumnWidths)); ++i)
    list_->header()->resizeSection(i, kColumnWidths[i]);
  // The selected row's cause, in full and selectable, so it can be copied
  // into a mail to whoever looks after the printers.
  detail_->setWordWrap(true);
  detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  detail_->setContentsMargins(4, 2, 4, 2);
  detail_->hide();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(list_, 1);
  layout->addWidget(detail_);
  setCentralWidget(central);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { ShowSelectedDetail(); });
  connect(&model, &QAbstractItemModel::dataChanged, this, [this] { ShowSelectedDetail(); });
  connect(&model, &QAbstractItemModel::rowsInserted, this, [this] { ShowSelectedDetail(); });

  auto* statePart = new QWidget(this);
  auto* stateLayout = new QHBoxLayout(statePart);
  stateLayout->setContentsMargins(2, 0, 2, 0);
  stateLayout->addWidget(stateIcon_);
  stateLayout->addWidget(stateText_, 1);
  statePart->setFixedWidth(kStatePartWidth);
  statusBar()->addWidget(statePart);
  statusBar()->setSizeGripEnabled(true);

  QMenu* tool = AddMenu(gui_text::kToolMenu);
  AddCommand(*tool, CommandId::kShowFolderWindow, gui_text::kShowFolderWindowDialog);
  AddCommand(*tool, CommandId::kClose, gui_text::kClose);
  tool->addSeparator();
  AddCommand(*tool, CommandId::kExit, gui_text::kExit);
  QMenu* run = AddMenu(gui_text::kRunMenu);
  AddCommand(*run, CommandId::kStart, gui_text::kStart);
  AddCommand(*run, CommandId::kStop, gui_text::kStop);
  QMenu* help = AddMenu(gui_text::kHelpMenu);
  AddCommand(*help, CommandId::kHelp, gui_text::kHelp)->setShortcut(QKeySequence(Qt::Key_F1));
  help->addSeparator();
  AddCommand(*help, CommandId::kVersion, gui_text::kVersion);

  ShowRunState(jobs::RunState::kStopped);
}

QMenu* JobWindow::AddMenu(const char* title) {
  QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { emit MenuOpening(menu); });
  connect(menu, &QMenu::triggered, this, [this](QAction* action) {
    if (const auto id = CommandOf(*action)) emit CommandChosen(*id);
  });
  return menu;
}

void JobWindow::ShowRunState(jobs::RunState state) {
  stateIcon_->setPixmap(RunStateIcon(state).pixmap(kStateIconSize, kStateIconSize));
  stateText_->setText(QString::fromUtf8(jobs::RunStateText(state)));
}

void JobWindow::ShowSelectedDetail() {
  const QModelIndex current = list_->currentIndex();
  const QString detail =
      current.isValid() ? current.siblingAtColumn(0).data(JobListModel::kDetailRole).toString() : QString();
  detail_->setText(detail);
  detail_->setVisible(!detail.isEmpty());
}

void JobWindow::SetTitleSuffix(const QString& suffix) { setWindowTitle(title_ + suffix); }

void JobWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit CloseRequested();
}

void JobWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (minimiseCloses_) TakeMinimiseAsClose(*this, *event, [this] { emit CloseRequested(); });
}

}  // namespace orvella::cli
