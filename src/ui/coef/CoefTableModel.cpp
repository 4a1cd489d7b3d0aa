#include "ui/coef/CoefTableModel.h"

#include <QApplication>
#include <QPalette>

#include "ui/shell/QtText.h"

namespace tessaro {

void CoefTableModel::SetTable(const TupleTable* table) {
  beginResetModel();
  table_ = table;
  endResetModel();
}

void CoefTableModel::RowChanged(size_t tableRow) {
  const int row = GridRow(tableRow);
  emit dataChanged(index(row, 0), index(row, kTupleColumns - 1));
}

int CoefTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !table_ || table_->rows.empty()) return 0;
  return static_cast<int>(table_->rows.size()) - 1;
}

int CoefTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTupleColumns;
}

QVariant CoefTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !table_ || index.row() >= rowCount()) return {};
  const bool fixed = index.column() <= ColumnCode;
  switch (role) {
    case Qt::DisplayRole:
      return ToQt(table_->rows[TableRow(index.row())].fields[static_cast<size_t>(index.column())]);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue((index.column() == ColumnNo ? Qt::AlignHCenter : Qt::AlignLeft) |
                                 Qt::AlignVCenter);
    case Qt::BackgroundRole:
      if (fixed) return QApplication::palette().button();
      return {};
    default:
      return {};
  }
}

QVariant CoefTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !table_ || table_->rows.empty() ||
      section < 0 || section >= kTupleColumns)
    return {};
  return ToQt(table_->rows[0].fields[static_cast<size_t>(section)]);
}

}  // namespace tessaro
