#include "ui/coef/CoefEditDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/coef/CoefficientEntry.h"
#include "core/collect/RecorderTuple.h"
#include "core/support/DefinitionDb.h"
#include "core/support/MessageBox.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

constexpr int kBitsPerRow = 8;
constexpr int kBitTypes[] = {kTypeBit8, kTypeBit16, kTypeBit32};

}  // namespace

TCoefEditDLG::TCoefEditDLG(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
  setWindowTitle(Msg(MsgCoefEditCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());

  notebook_ = new QStackedWidget(this);
  notebook_->addWidget(MakeNormalPage());
  for (const int type : kBitTypes) {
    bitPages_.push_back(MakeBitPage(TupleTypeBits(type)));
    notebook_->addWidget(bitPages_.back().page);
  }

  auto* ok = new QPushButton(Msg(MsgOkButton), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &TCoefEditDLG::accept);
  auto* cancel = new QPushButton(Msg(MsgCancelButton), this);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(notebook_);
  layout->addLayout(buttons);
}

QWidget* TCoefEditDLG::MakeNormalPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  label1_ = new QLabel(page);
  maskEdit_ = new QLineEdit(page);
  maskEdit_->setFont(FixedFont());
  layout->addWidget(label1_);
  layout->addWidget(maskEdit_);
  layout->addStretch();
  return page;
}

TCoefEditDLG::BitPage TCoefEditDLG::MakeBitPage(int bits) {
  BitPage bitPage;
  bitPage.page = new QWidget;
  auto* layout = new QVBoxLayout(bitPage.page);
  bitPage.title = new QLabel(bitPage.page);
  layout->addWidget(bitPage.title);
  auto* grid = new QGridLayout;
  for (int bit = 0; bit < bits; ++bit) {
    auto* box = new QCheckBox(QString::number(bit), bitPage.page);
    grid->addWidget(box, bit / kBitsPerRow, bit % kBitsPerRow);
    bitPage.boxes.push_back(box);
  }
  layout->addLayout(grid);
  bitPage.all = new QPushButton(Msg(MsgCoefAllBits), bitPage.page);
  connect(bitPage.all, &QPushButton::clicked, this, &TCoefEditDLG::AllBitsClick);
  layout->addWidget(bitPage.all, 0, Qt::AlignLeft);
  return bitPage;
}

bool TCoefEditDLG::Prepare(const std::string& codeText, int type, const std::string& valueText) {
  if (!IsEditableType(type)) return false;
  type_ = type;
  const QString title =
      ToQt(FormatMessage(MsgCoefEditTitle, codeText.c_str(), TupleTypeName(type).c_str()));
  const int bits = TupleTypeBits(type);
  if (bits == 0) {
    notebook_->setCurrentIndex(0);
    label1_->setText(title);
    maskEdit_->setInputMask(type == kTypeDateTime ? "99/99/99 99:99:99; " : QString());
    maskEdit_->setMaxLength(EntryMaxLength(type));
    maskEdit_->setText(ToQt(valueText));
  } else {
    const auto page = static_cast<size_t>(
        std::find(std::begin(kBitTypes), std::end(kBitTypes), type) - std::begin(kBitTypes));
    notebook_->setCurrentIndex(static_cast<int>(page) + 1);
    const BitPage& bitPage = bitPages_[page];
    bitPage.title->setText(title);
    const uint32_t value = ShownBitValue(type, valueText);
    for (int bit = 0; bit < bits; ++bit)
      bitPage.boxes[static_cast<size_t>(bit)]->setChecked((value >> bit) & 1u);
  }
  setFixedSize(sizeHint().expandedTo(QSize(300, 175)));
  return true;
}

const TCoefEditDLG::BitPage* TCoefEditDLG::ShownBitPage() const {
  const int page = notebook_->currentIndex() - 1;
  return page >= 0 ? &bitPages_[static_cast<size_t>(page)] : nullptr;
}

QCheckBox* TCoefEditDLG::BitBox(int bit) const {
  const BitPage* page = ShownBitPage();
  if (!page || bit < 0 || bit >= static_cast<int>(page->boxes.size())) return nullptr;
  return page->boxes[static_cast<size_t>(bit)];
}

QPushButton* TCoefEditDLG::AllBitsButton() const {
  const BitPage* page = ShownBitPage();
  return page ? page->all : nullptr;
}

void TCoefEditDLG::AllBitsClick() {
  const BitPage* page = ShownBitPage();
  if (!page) return;
  const bool all = std::all_of(page->boxes.begin(), page->boxes.end(),
                               [](const QCheckBox* box) { return box->isChecked(); });
  for (QCheckBox* box : page->boxes) box->setChecked(!all);
}

void TCoefEditDLG::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const BitPage* page = ShownBitPage()) {
    page->boxes.front()->setFocus();
  } else {
    maskEdit_->selectAll();
    maskEdit_->setFocus();
  }
}

void TCoefEditDLG::accept() {
  if (const BitPage* page = ShownBitPage()) {
    uint32_t value = 0;
    for (size_t bit = 0; bit < page->boxes.size(); ++bit)
      if (page->boxes[bit]->isChecked()) value |= 1u << bit;
    valueText_ = BitValueText(value);
  } else {
    const auto value = EntryValueText(type_, FromQt(maskEdit_->text()));
    if (!value) {
      ShowError(LoadMessage(MsgCoefEntryInvalid));
      return;
    }
    valueText_ = *value;
  }
  QDialog::accept();
}

}  // namespace tessaro
