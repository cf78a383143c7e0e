#pragma once
// The job window's rows: newest on top, four columns, a status mark beside
// the status text. Rows are kept oldest first so that a new top row is an
// append, which keeps long lists cheap.
#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <vector>

#include "jobs/job_view.h"

namespace orvella::cli {

class JobListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 4;
  static constexpr int kStatusColumn = 3;
  // The plain-English cause behind a failed row (also its tooltip).
  static constexpr int kDetailRole = Qt::UserRole + 1;

  explicit JobListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Inserts row 0.
  void AddRow(const jobs::JobRowColumns& columns, const QString& status, jobs::StatusMark mark);
  // Replaces the status and mark of row 0; nothing when the list is empty.
  // A status that is not a failure takes the row's detail away.
  void SetTopStatus(const QString& status, jobs::StatusMark mark);
  // The cause behind row 0's failure.
  void SetTopDetail(const QString& detail);

 private:
  struct Row {
    QString added;
    QString fileName;
    QString folder;
    QString status;
    jobs::StatusMark mark;
    QString detail;
  };
  const Row& RowAt(int row) const { return rows_[rows_.size() - 1 - static_cast<size_t>(row)]; }

  std::vector<Row> rows_;
  std::array<QIcon, 3> marks_;
};

}  // namespace orvella::cli
