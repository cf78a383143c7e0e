#pragma once
// The folder settings window: the input folders with New, Edit, Delete and
// Close, and a menu leading to the settings. Shows and forwards only.
#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "app/gui/command_ids.h"

class QBoxLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QTreeWidget;

namespace orvella::cli {

class FolderWindow : public QDialog {
  Q_OBJECT

 public:
  explicit FolderWindow(const QString& title);

  QTreeWidget& List() { return *list_; }
  // One row per setting: input folder and memo, in file order.
  void SetFolders(const std::vector<std::pair<std::string, std::string>>& rows);
  void RemoveRow(int row);
  // -1 when no row is selected.
  int SelectedRow() const;
  // Without a notification icon the title carries the run state.
  void SetTitleSuffix(const QString& suffix);
  // With a notification icon minimising means closing.
  void SetMinimiseCloses(bool closes) { minimiseCloses_ = closes; }

 signals:
  void CommandChosen(orvella::cli::CommandId id);
  void MenuOpening(QMenu* menu);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  QMenu* AddMenu(QMenuBar& bar, const char* title);
  QPushButton* AddButton(QBoxLayout& layout, const char* text, CommandId id);
  void UpdateButtons();

  QString title_;
  QTreeWidget* list_;
  QPushButton* edit_ = nullptr;
  QPushButton* delete_ = nullptr;
  bool minimiseCloses_ = true;
};

}  // namespace orvella::cli
