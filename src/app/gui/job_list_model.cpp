#include "app/gui/job_list_model.h"

#include "app/gui/gui_icons.h"
#include "app/gui/gui_texts.h"

namespace orvella::cli {

JobListModel::JobListModel(QObject* parent)
    : QAbstractTableModel(parent),
      marks_{StatusMarkIcon(jobs::StatusMark::kDone), StatusMarkIcon(jobs::StatusMark::kInProgress),
             StatusMarkIcon(jobs::StatusMark::kFailed)} {}

int JobListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int JobListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant JobListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = RowAt(index.row());
  if (role == Qt::DisplayRole) {
    switch (index.column()) {
      case 0:
        return row.added;
      case 1:
        return row.fileName;
      case 2:
        return row.folder;
      case kStatusColumn:
        return row.status;
    }
  } else if ((role == Qt::ToolTipRole || role == kDetailRole) && !row.detail.isEmpty()) {
    return row.detail;
  } else if (role == Qt::DecorationRole && index.column() == kStatusColumn) {
    const auto mark = static_cast<size_t>(row.mark);
    return mark < marks_.size() ? marks_[mark] : QIcon();
  }
  return {};
}

QVariant JobListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static constexpr std::array<const char*, kColumnCount> kTitles{
      gui_text::kAddedColumn, gui_text::kFileNameColumn, gui_text::kFolderColumn, gui_text::kStatusColumn};
  return section >= 0 && section < kColumnCount ? QString::fromUtf8(kTitles[section]) : QVariant();
}

void JobListModel::AddRow(const jobs::JobRowColumns& columns, const QString& status, jobs::StatusMark mark) {
  beginInsertRows({}, 0, 0);
  rows_.push_back({QString::fromStdString(columns.added),
                   QString::fromStdString(columns.fileName),
                   QString::fromStdString(columns.folder),
                   status,
                   mark,
                   {}});
  endInsertRows();
}

void JobListModel::SetTopStatus(const QString& status, jobs::StatusMark mark) {
  if (rows_.empty()) return;
  rows_.back().status = status;
  rows_.back().mark = mark;
  if (mark != jobs::StatusMark::kFailed) rows_.back().detail.clear();
  emit dataChanged(index(0, 0), index(0, kColumnCount - 1),
                   {Qt::DisplayRole, Qt::DecorationRole, Qt::ToolTipRole, kDetailRole});
}

void JobListModel::SetTopDetail(const QString& detail) {
  if (rows_.empty()) return;
  rows_.back().detail = detail;
  emit dataChanged(index(0, 0), index(0, kColumnCount - 1), {Qt::ToolTipRole, kDetailRole});
}

}  // namespace orvella::cli
