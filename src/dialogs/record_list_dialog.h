#pragma once
// The shape shared by the printer and fold lists: a list of records with
// New, Edit, Delete and Close. Edit and Delete need a selected row; a double
// click is Edit. Closing remembers the position and the column widths.
#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <string>

class QPushButton;
class QTreeWidget;

namespace orvella::dialogs {

class RecordListDialog : public QDialog {
 public:
  QTreeWidget* list() const { return list_; }
  void reject() override;

 protected:
  // keepsSize: the size is remembered with the position.
  RecordListDialog(QWidget* parent, const std::filesystem::path& program, std::string section,
                   const QString& title, const QStringList& columns, bool keepsSize = false);

  // Once the rows are filled: the stored position and column widths.
  void RestoreLayout();
  // Sets the texts of a row; row == the row count appends one.
  void SetRow(int row, const QStringList& texts);
  void RemoveRow(int row);
  int SelectedRow() const;
  const std::filesystem::path& program() const { return program_; }

  virtual void New() = 0;
  virtual void Edit(int row) = 0;
  virtual void Delete(int row) = 0;

 private:
  void UpdateButtons();

  std::filesystem::path program_;
  std::string section_;
  bool keepsSize_;
  QTreeWidget* list_;
  QPushButton* edit_;
  QPushButton* delete_;
};

}  // namespace orvella::dialogs
