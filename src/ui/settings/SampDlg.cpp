#include "ui/settings/SampDlg.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <stdexcept>

#include "core/support/MessageBox.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/AppSession.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/ModalGauge.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"
#include "ui/shell/WindowCommand.h"

namespace tessaro {
namespace {

constexpr int kNumberWidth = 64;
constexpr int kModeWidth = 373;
constexpr int kRowHeight = 22;

}  // namespace

TSampDLG::TSampDLG(AppSession& session, QWidget* parent)
    : TCommandDialog(parent, kFixedDialogFlags), session_(session) {
  setWindowTitle(Msg(MsgModeCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(470, 330);

  auto* countLabel = new QLabel(Msg(MsgModeChannelsLabel), this);
  countLabel->setGeometry(8, 10, 100, 20);
  spin_ = new QSpinBox(this);
  spin_->setGeometry(110, 8, 60, 22);
  spin_->setMinimum(1);
  countLabel->setBuddy(spin_);
  maxLabel_ = new QLabel(this);
  maxLabel_->setGeometry(180, 10, 200, 20);
  connect(spin_, &QSpinBox::valueChanged, this, &TSampDLG::ChannelCountChange);
  spin_->installEventFilter(this);

  grid_ = new QTableWidget(0, 1, this);
  grid_->setGeometry(8, 38, kNumberWidth + kModeWidth + 20, 240);
  grid_->setFont(FixedFont());
  grid_->setHorizontalHeaderLabels({Msg(MsgModeValueHeader)});
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  grid_->horizontalHeader()->setSectionsClickable(false);
  grid_->setColumnWidth(0, kModeWidth);
  grid_->verticalHeader()->setFixedWidth(kNumberWidth);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->verticalHeader()->setSectionsClickable(false);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QTableWidget::customContextMenuRequested, this, &TSampDLG::PopupMenuShow);
  connect(grid_, &QTableWidget::currentCellChanged, this, &TSampDLG::HideEditor);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &TSampDLG::EditClick);

  editor_ = new QComboBox(grid_->viewport());
  editor_->setFont(FixedFont());
  editor_->setMaxVisibleItems(5);
  editor_->hide();
  editor_->installEventFilter(this);
  connect(editor_, &QComboBox::activated, this, &TSampDLG::EditorChoose);

  auto* edit = new QPushButton(Msg(MsgModeEditButton), this);
  edit->setGeometry(8, 292, 80, 25);
  edit->setDefault(true);
  connect(edit, &QPushButton::clicked, this, &TSampDLG::EditClick);
  auto* ok = new QPushButton(Msg(MsgOkButton), this);
  ok->setGeometry(290, 292, 80, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(Msg(MsgCancelButton), this);
  cancel->setGeometry(380, 292, 80, 25);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  cut_ = AddCommand(MsgModeMenuCut, QKeySequence(Qt::CTRL | Qt::Key_T), nullptr);
  cut_->setEnabled(false);
  QAction* copy = AddCommand(MsgModeMenuCopy, QKeySequence::Copy, &TSampDLG::CopyClick);
  paste_ = AddCommand(MsgModeMenuPaste, QKeySequence::Paste, &TSampDLG::PasteClick);
  AddCommand(MsgModeMenuEdit, QKeySequence(Qt::CTRL | Qt::Key_E), &TSampDLG::EditClick);
  menu_ = new QMenu(this);
  menu_->addActions({cut_, copy, paste_});
}

QAction* TSampDLG::AddCommand(int text, const QKeySequence& shortcut, void (TSampDLG::*slot)()) {
  return AddWindowCommand(this, Msg(text), shortcut, slot);
}

bool TSampDLG::Prepare() {
  StepResult read;
  {
    ModalGauge shown(session_.Gauge(), LoadMessage(MsgModeReadCaption));
    read = ReadMeasurementModes(session_.Line(), session_.Gauge(), session_.Definitions(), modes_);
    if (!read) session_.Gauge().FlashError(read.message);
  }
  if (!read) return false;
  maxLabel_->setText(ToQt(FormatMessage(MsgModeMaxChannels, modes_.maxChannels)));
  spin_->setMaximum(modes_.maxChannels);
  spin_->setValue(modes_.channelCount);
  ChannelCountChange(modes_.channelCount);
  return true;
}

void TSampDLG::Apply() {
  const StepResult written = WriteMeasurementModes(session_.Line(), session_.Gauge(), modes_);
  if (!written) throw std::runtime_error(written.message);
}

void TSampDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  if (grid_->rowCount() > 0) grid_->setCurrentCell(0, 0);
  spin_->setFocus();
}

void TSampDLG::ChannelCountChange(int value) {
  HideEditor();
  modes_.channelCount = modes_.ClampedCount(value);
  const int previous = grid_->rowCount();
  grid_->setRowCount(modes_.channelCount);
  for (int row = previous; row < modes_.channelCount; ++row) {
    grid_->setVerticalHeaderItem(row, new QTableWidgetItem(QString::asprintf("%.5d", row + 1)));
    ShowRow(row);
  }
}

void TSampDLG::ShowRow(int row) {
  const int mode = modes_.channels[static_cast<size_t>(row)].mode;
  auto* item = new QTableWidgetItem(ToQt(modes_.ListText(mode)));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  grid_->setItem(row, 0, item);
}

ChannelModes* TSampDLG::CurrentChannel() {
  const int row = grid_->currentRow();
  if (row < 0 || row >= modes_.channelCount) return nullptr;
  return &modes_.channels[static_cast<size_t>(row)];
}

void TSampDLG::EditClick() {
  const ChannelModes* channel = CurrentChannel();
  if (!channel) return;
  editor_->clear();
  int selected = 0;
  for (size_t k = 0; k < channel->codes.size(); ++k) {
    editor_->addItem(ToQt(modes_.ListText(channel->codes[k])));
    if (channel->codes[k] == channel->mode) selected = static_cast<int>(k);
  }
  editor_->setCurrentIndex(selected);
  editor_->setGeometry(grid_->visualItemRect(grid_->currentItem()));
  editor_->show();
  editor_->raise();
  editor_->setFocus();
}

void TSampDLG::EditorChoose(int index) {
  ChannelModes* channel = CurrentChannel();
  if (channel && index >= 0 && index < static_cast<int>(channel->codes.size())) {
    channel->mode = channel->codes[static_cast<size_t>(index)];
    ShowRow(grid_->currentRow());
  }
  HideEditor();
  grid_->setFocus();
}

void TSampDLG::HideEditor() { editor_->hide(); }

bool TSampDLG::eventFilter(QObject* watched, QEvent* event) {
  // Leaving the drop-down or clicking the spin box ends the edit; an open
  // popup list does not count as leaving.
  if ((watched == editor_ && event->type() == QEvent::FocusOut && !editor_->view()->isVisible()) ||
      (watched == spin_ && event->type() == QEvent::FocusIn))
    HideEditor();
  return TCommandDialog::eventFilter(watched, event);
}

void TSampDLG::CopyClick() {
  if (const ChannelModes* channel = CurrentChannel())
    QApplication::clipboard()->setText(QString::number(channel->mode));
}

void TSampDLG::PasteClick() {
  ChannelModes* channel = CurrentChannel();
  if (!channel) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  std::string text;
  if (data && data->hasText()) text = FromQt(data->text());
  const PastedMode pasted = ParsePastedMode(data && data->hasText() ? &text : nullptr, *channel);
  if (!pasted.failure.empty()) {
    ShowError(pasted.failure);
    return;
  }
  channel->mode = pasted.code;
  ShowRow(grid_->currentRow());
}

void TSampDLG::PopupMenuShow(const QPoint& position) {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  paste_->setEnabled(data && data->hasText());
  menu_->exec(grid_->viewport()->mapToGlobal(position));
  paste_->setEnabled(true);
}

}  // namespace tessaro
