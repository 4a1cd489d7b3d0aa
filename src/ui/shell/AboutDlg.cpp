#include "ui/shell/AboutDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "ui/shell/AppIcon.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

QLabel* CentredLabel(QWidget* parent, int width, int y) {
  auto* label = new QLabel(parent);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry((parent->width() - width) / 2, y, width, 20);
  return label;
}

}  // namespace

TAboutDLG::TAboutDLG(QWidget* parent) : TCommandDialog(parent, kFixedDialogFlags) {
  setWindowTitle(Msg(MsgAboutCaption));
  setFont(ProportionalFont());
  setFixedSize(350, 180);

  auto* panel1 = new QFrame(this);
  panel1->setGeometry(10, 10, 330, 130);
  panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel1->setLineWidth(2);

  programIcon_ = new QLabel(panel1);
  programIcon_->setGeometry(8, 8, 32, 32);
  productName_ = CentredLabel(panel1, 280, 15);
  QFont bold = productName_->font();
  bold.setBold(true);
  productName_->setFont(bold);
  version_ = CentredLabel(panel1, 250, 40);
  notice_ = CentredLabel(panel1, 250, 70);
  htmlAddr_ = CentredLabel(panel1, 250, 100);
  htmlAddr_->setCursor(Qt::PointingHandCursor);

  okButton_ = new QPushButton(Msg(MsgOkButton), this);
  okButton_->setGeometry(135, 150, 80, 25);
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

bool TAboutDLG::Prepare() {
  const QIcon icon = AppIcon();
  setWindowIcon(icon);
  programIcon_->setPixmap(icon.pixmap(32, 32));
  productName_->setText(Msg(MsgProgramName));
  version_->setText(Msg(MsgVersion));
  notice_->setText(Msg(MsgNotice));
  htmlAddr_->setText(Msg(MsgEdition));
  return true;
}

QString TAboutDLG::ProductNameText() const { return productName_->text(); }

QString TAboutDLG::VersionText() const { return version_->text(); }

}  // namespace tessaro
