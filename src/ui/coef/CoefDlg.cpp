#include "ui/coef/CoefDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/coef/CoefficientEntry.h"
#include "core/coef/CoefficientReader.h"
#include "core/coef/CoefficientWriter.h"
#include "core/coef/TupleTab.h"
#include "core/coef/TupleValueText.h"
#include "core/support/MessageBox.h"
#include "ui/coef/CoefEditDlg.h"
#include "ui/coef/CoefTableModel.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/ModalGauge.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"
#include "ui/shell/WindowCommand.h"

namespace tessaro {
namespace {

constexpr int kRowHeight = 22;
constexpr int kPanelHeight = 41;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMinNoLetters = 9;

}  // namespace

TCoefDLG::TCoefDLG(AppSession& session, QWidget* parent)
    : TCommandDialog(parent), session_(session) {
  setWindowTitle(Msg(MsgCoefCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setMinimumSize(488, 347);
  resize(600, 420);

  tabs_ = new QTabBar(this);
  tabs_->setExpanding(false);
  tabs_->setUsesScrollButtons(true);
  grid_ = new QTableView(this);
  grid_->setFont(FixedFont());
  model_ = new CoefTableModel(this);
  grid_->setModel(model_);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->horizontalHeader()->setSectionsClickable(false);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  connect(tabs_, &QTabBar::currentChanged, this, &TCoefDLG::TabChange);

  panel_ = new QWidget(this);
  panel_->setFixedHeight(kPanelHeight);
  panel_->installEventFilter(this);
  auto makeButton = [this](int text) {
    auto* button = new QPushButton(Msg(text), panel_);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    return button;
  };
  edit_ = makeButton(MsgCoefEditButton);
  print_ = makeButton(MsgCoefPrintButton);
  cancel_ = makeButton(MsgCancelButton);
  print_->setEnabled(false);
  connect(edit_, &QPushButton::clicked, this, &TCoefDLG::EditClick);
  connect(print_, &QPushButton::clicked, this, &TCoefDLG::PrintClick);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* extended = new QAction(this);
  extended->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F2));
  connect(extended, &QAction::triggered, this, &TCoefDLG::ToggleExtendedMode);
  addAction(extended);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->setSpacing(0);
  layout->addWidget(tabs_);
  layout->addWidget(grid_, 1);
  layout->addWidget(panel_);
}

// The grid lets go of the tables before they go; the model, a child, would
// outlive them.
TCoefDLG::~TCoefDLG() { model_->SetTable(nullptr); }

bool TCoefDLG::Prepare() {
  StepResult read;
  {
    ModalGauge shown(session_.Gauge(), LoadMessage(MsgCoefReadCaption));
    read = ReadCoefficients(session_.Line(), session_.Gauge(), session_.Definitions(),
                            session_.HighSpeedMode(), tables_);
    if (!read) session_.Gauge().FlashError(read.message);
  }
  if (!read) return false;
  const QSignalBlocker quiet(tabs_);
  for (const TupleTable& table : tables_.tables) tabs_->addTab(ToQt(TupleTabName(table.area)));
  if (session_.ExtendedMode()) AttachPopupMenu();
  tabs_->setCurrentIndex(0);
  TabChange(0);
  SetColumnWidths();
  return true;
}

void TCoefDLG::SetPrintHandler(PrintHandler handler) {
  printHandler_ = std::move(handler);
  print_->setEnabled(static_cast<bool>(printHandler_));
}

QAction* TCoefDLG::AddCommand(int text, const QKeySequence& shortcut, void (TCoefDLG::*slot)()) {
  return AddWindowCommand(this, Msg(text), shortcut, slot);
}

void TCoefDLG::AttachPopupMenu() {
  QAction* edit =
      AddCommand(MsgCoefMenuEdit, QKeySequence(Qt::CTRL | Qt::Key_E), &TCoefDLG::EditClick);
  QAction* cut = AddCommand(MsgCoefMenuCut, QKeySequence(), nullptr);
  cut->setEnabled(false);
  QAction* copy = AddCommand(MsgCoefMenuCopy, QKeySequence::Copy, &TCoefDLG::CopyClick);
  paste_ = AddCommand(MsgCoefMenuPaste, QKeySequence::Paste, &TCoefDLG::PasteClick);
  menu_ = new QMenu(this);
  menu_->addActions({edit, cut, copy, paste_});
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QTableView::customContextMenuRequested, this, &TCoefDLG::PopupMenuShow);
}

void TCoefDLG::PopupMenuShow(const QPoint& position) {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  const TupleTable* table = CurrentTable();
  paste_->setEnabled(data && data->hasText() && table && table->area.Writable());
  menu_->exec(grid_->viewport()->mapToGlobal(position));
  paste_->setEnabled(true);
}

void TCoefDLG::SetColumnWidths() {
  std::array<int, kTupleColumns> longest{kMinNoLetters};
  for (const TupleTable& table : tables_.tables)
    for (const TupleRow& row : table.rows)
      for (size_t c = 0; c < longest.size(); ++c)
        longest[c] = std::max(longest[c], DisplayWidth(row.fields[c]));
  const QFontMetrics metrics(grid_->font());
  for (int c = 0; c < kTupleColumns; ++c) {
    const int letters = longest[static_cast<size_t>(c)] + 2;
    grid_->setColumnWidth(c, metrics.horizontalAdvance(QString(letters, 'W')));
  }
}

void TCoefDLG::TabChange(int index) {
  if (index < 0 || index >= static_cast<int>(tables_.tables.size())) return;
  model_->SetTable(&tables_.tables[static_cast<size_t>(index)]);
  if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, ColumnType));
  grid_->setFocus();
}

TupleTable* TCoefDLG::CurrentTable() {
  const int index = tabs_->currentIndex();
  if (index < 0 || index >= static_cast<int>(tables_.tables.size())) return nullptr;
  return &tables_.tables[static_cast<size_t>(index)];
}

const TupleRow* TCoefDLG::SelectedRow(size_t& index) {
  const TupleTable* table = CurrentTable();
  const QModelIndex current = grid_->currentIndex();
  index = current.isValid() ? CoefTableModel::TableRow(current.row()) : 0;
  if (!table || index == 0 || index >= table->rows.size()) return nullptr;
  return &table->rows[index];
}

const TupleRow* TCoefDLG::RowToWrite(size_t& index) {
  const TupleRow* row = SelectedRow(index);
  if (row && !CurrentTable()->area.Writable()) {
    ShowError(LoadMessage(MsgRomNotWritable));
    return nullptr;
  }
  return row;
}

void TCoefDLG::WriteRow(size_t row, const std::string& valueText) {
  TupleTable* table = CurrentTable();
  if (!table) return;
  const CoefficientWrite write = WriteCoefficient(session_.Line(), *table, row, valueText);
  if (!write.result) {
    ShowError(write.result.message);
    return;
  }
  model_->RowChanged(row);
}

void TCoefDLG::EditClick() {
  size_t row = 0;
  const TupleRow* selected = RowToWrite(row);
  if (!selected) return;
  const auto type = TupleTypeFromName(selected->fields[ColumnType]);
  TCoefEditDLG editor(this);
  if (!type ||
      !editor.Prepare(selected->fields[ColumnCode], *type, selected->fields[ColumnValue])) {
    ShowError(LoadMessage(MsgCoefWriteFailed));
    return;
  }
  if (editor.exec() != QDialog::Accepted) return;
  WriteRow(row, editor.ValueText());
}

void TCoefDLG::CopyClick() {
  size_t row = 0;
  const TupleRow* selected = SelectedRow(row);
  if (!selected) return;
  const QString text = ToQt(CoefficientClipText(*selected));
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->setText(text);
  if (clipboard->text() != text) ShowError(LoadMessage(MsgCoefCopyFailed));
}

void TCoefDLG::PasteClick() {
  size_t row = 0;
  const TupleRow* selected = RowToWrite(row);
  if (!selected) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  std::string text;
  if (data && data->hasText()) text = FromQt(data->text());
  const PastedCoefficient pasted =
      ParsePastedCoefficient(data && data->hasText() ? &text : nullptr, *selected);
  if (!pasted.failure.empty()) {
    ShowError(pasted.failure);
    return;
  }
  WriteRow(row, pasted.valueText);
}

void TCoefDLG::PrintClick() {
  if (printHandler_) printHandler_(tables_, this);
}

void TCoefDLG::ToggleExtendedMode() {
  QApplication::beep();
  session_.SetExtendedMode(!session_.ExtendedMode());
  LayoutButtons();
}

void TCoefDLG::LayoutButtons() {
  const int c = panel_->width() / 2;
  const int y = (panel_->height() - kButtonHeight) / 2;
  const auto at = [&](double buttons) { return c + static_cast<int>(buttons * kButtonWidth); };
  const bool extended = session_.ExtendedMode();
  edit_->setVisible(extended);
  edit_->move(at(-1.75), y);
  print_->move(at(extended ? -0.5 : -1.75), y);
  cancel_->move(at(0.75), y);
}

void TCoefDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  LayoutButtons();
  grid_->setFocus();
}

void TCoefDLG::resizeEvent(QResizeEvent* event) {
  TCommandDialog::resizeEvent(event);
  LayoutButtons();
}

bool TCoefDLG::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panel_ && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::AltModifier)) {
      ToggleExtendedMode();
      return true;
    }
  }
  return TCommandDialog::eventFilter(watched, event);
}

}  // namespace tessaro
