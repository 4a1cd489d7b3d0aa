#include "ui/settings/MemoDlg.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "core/recorder/RecorderFailure.h"
#include "core/recorder/RecorderSession.h"
#include "core/settings/UserMemos.h"
#include "core/support/CodePage.h"
#include "core/support/MessageBox.h"
#include "core/support/SilentProgress.h"
#include "ui/settings/MemoValidator.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

constexpr int kNumberColumn = 0, kMemoColumn = 1;

QString MemoText(const std::string& memo) { return ToQt(Cp932ToUtf8(memo)); }

// The in-place editor: a line edit that keeps its text storable.
class MemoDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex&) const override {
    auto* editor = new QLineEdit(parent);
    editor->setValidator(new TMemoValidator(editor));
    editor->setFrame(false);
    return editor;
  }
};

}  // namespace

TMemoDLG::TMemoDLG(AppSession& session, QWidget* parent)
    : TCommandDialog(parent, kFixedDialogFlags), session_(session) {
  setWindowTitle(Msg(MsgMemoCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(440, 300);

  grid_ = new QTableWidget(0, 2, this);
  grid_->setGeometry(8, 8, 340, 284);
  grid_->setHorizontalHeaderLabels({QString(), Msg(MsgMemoValueHeader)});
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(22);
  grid_->setColumnWidth(kNumberColumn, 64);
  grid_->setColumnWidth(kMemoColumn, 255);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  grid_->setItemDelegateForColumn(kMemoColumn, new MemoDelegate(grid_));
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QTableWidget::cellChanged, this, &TMemoDLG::CellChanged);
  connect(grid_, &QTableWidget::activated, this, &TMemoDLG::EditClick);

  menu_ = new QMenu(this);
  AddAction(MsgMemoCut, QKeySequence(Qt::CTRL | Qt::Key_T), &TMemoDLG::CutClick);
  AddAction(MsgMemoCopy, QKeySequence(Qt::CTRL | Qt::Key_C), &TMemoDLG::CopyClick);
  pasteAction_ = AddAction(MsgMemoPaste, QKeySequence(Qt::CTRL | Qt::Key_V), &TMemoDLG::PasteClick);
  AddAction(MsgMemoEdit, QKeySequence(Qt::CTRL | Qt::Key_E), &TMemoDLG::EditClick, false);
  connect(menu_, &QMenu::aboutToShow, this, &TMemoDLG::MenuAboutToShow);
  connect(grid_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_->popup(grid_->viewport()->mapToGlobal(at)); });

  changeButton_ = new QPushButton(Msg(MsgChangeButton), this);
  changeButton_->setGeometry(356, 8, 76, 25);
  changeButton_->setDefault(true);
  okButton_ = new QPushButton(Msg(MsgOkButton), this);
  okButton_->setGeometry(356, 40, 76, 25);
  auto* cancel = new QPushButton(Msg(MsgCancelButton), this);
  cancel->setGeometry(356, 72, 76, 25);
  connect(changeButton_, &QPushButton::clicked, this, &TMemoDLG::EditClick);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QAction* TMemoDLG::AddAction(int caption, const QKeySequence& key, void (TMemoDLG::*slot)(),
                             bool inMenu) {
  auto* action = new QAction(Msg(caption), this);
  if (inMenu) menu_->addAction(action);
  action->setShortcut(key);
  // The shortcuts belong to the grid: in the editor the keys edit its text.
  action->setShortcutContext(Qt::WidgetShortcut);
  grid_->addAction(action);
  connect(action, &QAction::triggered, this, slot);
  return action;
}

bool TMemoDLG::Prepare() {
  SilentProgress progress;
  RecorderSession recorder(session_.Line(), progress);
  const StepResult read = RunOperation([&] { memos_ = ReadMemos(recorder); });
  if (!read) {
    ShowError(read.message);
    return false;
  }
  Fill();
  return true;
}

void TMemoDLG::Apply() {
  SilentProgress progress;
  RecorderSession recorder(session_.Line(), progress);
  const StepResult written = RunOperation([&] { WriteMemos(recorder, memos_); });
  if (!written) ShowError(written.message);
}

void TMemoDLG::Fill() {
  const QSignalBlocker quiet(grid_);
  grid_->setRowCount(static_cast<int>(memos_.size()));
  for (size_t n = 0; n < memos_.size(); ++n) {
    auto* numberItem = new QTableWidgetItem(ToQt(MemoNumber(n)));
    numberItem->setFlags(Qt::ItemIsEnabled);
    grid_->setItem(static_cast<int>(n), kNumberColumn, numberItem);
    grid_->setItem(static_cast<int>(n), kMemoColumn, new QTableWidgetItem(MemoText(memos_[n])));
  }
}

void TMemoDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  if (!memos_.empty()) grid_->setCurrentCell(0, kMemoColumn);
  grid_->setFocus();
}

std::optional<size_t> TMemoDLG::CurrentMemo() const {
  const int row = grid_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= memos_.size()) return std::nullopt;
  return static_cast<size_t>(row);
}

void TMemoDLG::SetMemo(size_t row, std::string memo) {
  memos_[row] = std::move(memo);
  const QSignalBlocker quiet(grid_);
  grid_->item(static_cast<int>(row), kMemoColumn)->setText(MemoText(memos_[row]));
}

void TMemoDLG::CellChanged(int row, int column) {
  if (column != kMemoColumn || row < 0 || static_cast<size_t>(row) >= memos_.size()) return;
  // The editor's validator lets only storable text through.
  if (auto memo = MemoFromText(FromQt(grid_->item(row, column)->text())))
    SetMemo(static_cast<size_t>(row), std::move(*memo));
}

void TMemoDLG::EditClick() {
  const auto row = CurrentMemo();
  if (!row) return;
  grid_->setCurrentCell(static_cast<int>(*row), kMemoColumn);
  grid_->editItem(grid_->item(static_cast<int>(*row), kMemoColumn));
}

void TMemoDLG::CutClick() {
  const auto row = CurrentMemo();
  if (!row) return;
  QGuiApplication::clipboard()->setText(MemoText(memos_[*row]));
  SetMemo(*row, {});
}

void TMemoDLG::CopyClick() {
  if (const auto row = CurrentMemo()) QGuiApplication::clipboard()->setText(MemoText(memos_[*row]));
}

void TMemoDLG::PasteClick() {
  const auto row = CurrentMemo();
  if (!row) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    ShowError(LoadMessage(MsgMemoPasteRefused));
    return;
  }
  auto memo = MemoFromText(FromQt(data->text()));
  if (!memo) {
    ShowError(LoadMessage(MsgMemoBadCharacter));
    return;
  }
  SetMemo(*row, std::move(*memo));
}

void TMemoDLG::MenuAboutToShow() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  pasteAction_->setEnabled(data && data->hasText());
}

}  // namespace tessaro
