#pragma once
// The shape shared by the printer, fold and stamp lists: a list of records with
// New, Edit, Delete and Close. Edit and Delete need a selected row; a double
// click is Edit. Closing remembers the position and the column widths.
#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPushButton;
class QTreeWidget;
class QVBoxLayout;

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
  // A further button of a list, below Delete.
  void AddButton(QPushButton* button);

  virtual void New() = 0;
  virtual void Edit(int row) = 0;
  virtual void Delete(int row) = 0;

 private:
  void UpdateButtons();

  std::filesystem::path program_;
  std::string section_;
  bool keepsSize_;
  QTreeWidget* list_;
  QVBoxLayout* buttons_;
  QPushButton* edit_;
  QPushButton* delete_;
};

// A list over records it owns while open (the whole file): New and Edit go
// through the editor, Delete asks first, and every change is saved at once.
template <typename Record>
class EditableRecordList : public RecordListDialog {
 public:
  // Edits one record in place; true on OK. The list and the record's own
  // position (editedIndex) serve the duplicate checks.
  using Editor = std::function<bool(QWidget* parent, Record& record, const std::vector<Record>& list,
                                    std::optional<size_t> editedIndex)>;

  // False when the file could not be loaded (the list is then not shown).
  bool Loaded() const { return loaded_; }
  const std::vector<Record>& Records() const { return records_; }

  // The buttons' actions, public so that tests need not click.
  void New() override {
    Record record = NewRecord();
    if (!editor_(this, record, records_, std::nullopt)) return;
    records_.push_back(std::move(record));
    ShowRow(static_cast<int>(records_.size()) - 1);
    Save();
  }
  void Edit(int row) override {
    Record record = records_[static_cast<size_t>(row)];
    if (!editor_(this, record, records_, static_cast<size_t>(row))) return;
    records_[static_cast<size_t>(row)] = std::move(record);
    ShowRow(row);
    Save();
  }
  void Delete(int row) override {
    const std::string name = records_[static_cast<size_t>(row)].name;
    if (!ConfirmDelete(name)) return;
    Forget(name);
    records_.erase(records_.begin() + row);
    RemoveRow(row);
    Save();
  }

 protected:
  EditableRecordList(QWidget* parent, const std::filesystem::path& program, std::string section,
                     const QString& title, const QStringList& columns, Editor editor, bool keepsSize = false)
      : RecordListDialog(parent, program, std::move(section), title, columns, keepsSize),
        editor_(std::move(editor)) {}

  // Takes the loaded file and shows its rows.
  void Take(std::vector<Record> records) {
    records_ = std::move(records);
    loaded_ = true;
    for (int i = 0; i < static_cast<int>(records_.size()); ++i) ShowRow(i);
  }

  virtual Record NewRecord() const { return Record{}; }
  virtual void ShowRow(int row) = 0;
  virtual void Save() = 0;
  virtual bool ConfirmDelete(const std::string& name) = 0;
  // What goes with a deleted record elsewhere (input folders naming it).
  virtual void Forget(const std::string& /*name*/) {}

  Editor editor_;
  std::vector<Record> records_;

 private:
  bool loaded_ = false;
};

}  // namespace orvella::dialogs
