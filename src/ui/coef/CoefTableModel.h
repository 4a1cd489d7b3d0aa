#pragma once
// One tab's tuple rows for the coefficient grid: the header row as the
// column titles, the tuple rows below; the NO and code columns look fixed.

#include <QAbstractTableModel>

#include "core/coef/TupleTable.h"

namespace tessaro {

class CoefTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // The table shown; it must outlive the model or be replaced first.
  void SetTable(const TupleTable* table);
  const TupleTable* Table() const { return table_; }
  // Grid row of a table row (rows[1] is grid row 0) and back.
  static int GridRow(size_t tableRow) { return static_cast<int>(tableRow) - 1; }
  static size_t TableRow(int gridRow) { return static_cast<size_t>(gridRow) + 1; }
  // Tells the view that a table row's texts changed.
  void RowChanged(size_t tableRow);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TupleTable* table_ = nullptr;
};

}  // namespace tessaro
