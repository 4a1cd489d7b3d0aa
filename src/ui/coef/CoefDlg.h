#pragma once
// "制御係数の確認": reads the recorder's coefficients behind the progress
// dialog and shows one tab per area and FILE group. In extended mode a row
// can be edited (TCoefEditDLG), copied and pasted; each write goes to the
// recorder at once and only that row changes, to the value the recorder
// reports. Reading, the entry rules and the write are core functions; the
// dialog only shows. "印刷" hands the tables to the print handler the
// program sets; without one it is disabled.

#include <QKeySequence>
#include <functional>

#include "core/coef/TupleTable.h"
#include "ui/shell/CommandDialog.h"

class QAction;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;
class QWidget;

namespace tessaro {

class AppSession;
class CoefTableModel;

class TCoefDLG : public TCommandDialog {
  Q_OBJECT

 public:
  using PrintHandler = std::function<void(const CoefficientTables& tables, QWidget* parent)>;

  TCoefDLG(AppSession& session, QWidget* parent = nullptr);
  ~TCoefDLG() override;

  // Reads behind the progress dialog; false, after its failure flashed
  // there, when the recorder could not be read.
  bool Prepare() override;

  void SetPrintHandler(PrintHandler handler);

  const CoefficientTables& Tables() const { return tables_; }
  QTabBar* TabCtrl() const { return tabs_; }
  QTableView* Grid() const { return grid_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* CancelButton() const { return cancel_; }
  QWidget* ButtonPanel() const { return panel_; }
  QMenu* PopupMenu() const { return menu_; }

  // The commands of the buttons, the shortcuts and the popup menu, on the
  // selected row of the tab shown.
  void EditClick();
  void CopyClick();
  void PasteClick();
  void PrintClick();
  // Shift+F2 or Alt+click on the button panel.
  void ToggleExtendedMode();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TabChange(int index);
  void LayoutButtons();
  void SetColumnWidths();
  void AttachPopupMenu();
  void PopupMenuShow(const QPoint& position);
  QAction* AddCommand(int text, const QKeySequence& shortcut, void (TCoefDLG::*slot)());
  TupleTable* CurrentTable();
  // The selected row of the tab shown and its index in the table (from 1);
  // nullptr without one.
  const TupleRow* SelectedRow(size_t& index);
  // The same for a write: on the ROM tab it says so and gives nullptr.
  const TupleRow* RowToWrite(size_t& index);
  // Sends the value to the selected row and shows what the recorder stored.
  void WriteRow(size_t row, const std::string& valueText);

  AppSession& session_;
  CoefficientTables tables_;
  PrintHandler printHandler_;
  QTabBar* tabs_;
  QTableView* grid_;
  CoefTableModel* model_;
  QWidget* panel_;
  QPushButton* edit_;
  QPushButton* print_;
  QPushButton* cancel_;
  QMenu* menu_ = nullptr;
  QAction* paste_ = nullptr;
};

}  // namespace tessaro
